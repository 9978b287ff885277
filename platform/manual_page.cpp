// The manual's page reader, run by the help viewer as a child: a damaged .chm can end only this process.
// SPDX-License-Identifier: GPL-3.0-or-later
// nonari-manual-page <file.chm> <archive path>: the page on standard output and status 0, else a status
// that tells why not (3 no help file, 4 no such page, 5 page damaged).
#include <chm_lib.h>

#include <cstdio>
#include <memory>

namespace {

// As the viewer's own limit: no page or picture of a manual comes near it.
constexpr LONGUINT64 largestPage = 2u << 20;

struct ChmClose {
    void operator()(chmFile* file) const { chm_close(file); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::unique_ptr<chmFile, ChmClose> archive(chm_open(argv[1]));
    if (!archive) return 3;
    chmUnitInfo page{};
    if (chm_resolve_object(archive.get(), argv[2], &page) != CHM_RESOLVE_SUCCESS) return 4;
    if (page.length > largestPage) return 5;
    unsigned char chunk[65536];
    for (LONGUINT64 done = 0; done < page.length;) {
        const LONGUINT64 want = page.length - done < sizeof chunk ? page.length - done : sizeof chunk;
        const LONGINT64 got = chm_retrieve_object(archive.get(), &page, chunk, done, static_cast<LONGINT64>(want));
        if (got <= 0 || static_cast<LONGUINT64>(got) > want) return 5;
        if (std::fwrite(chunk, 1, static_cast<std::size_t>(got), stdout) != static_cast<std::size_t>(got)) return 5;
        done += static_cast<LONGUINT64>(got);
    }
    return std::fflush(stdout) == 0 ? 0 : 5;
}
