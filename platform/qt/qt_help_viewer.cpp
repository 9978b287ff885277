// A viewer for compiled HTML help files: topics and their images come out of the .chm through a child process.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_help_viewer.h"

#include "platform/child_process.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QUrl>

#include <memory>
#include <optional>

#ifndef NONARI_READER_FROM_BINDIR
#define NONARI_READER_FROM_BINDIR "../libexec/nonari"
#endif

namespace nonari {

namespace {

// No page or picture of a manual comes near this; a larger one is taken as damage. It bounds what a
// damaged file can hand to the decoding and layout below.
constexpr std::size_t largestPage = 2u << 20;
constexpr std::size_t largestCache = 16u << 20;
constexpr const char* pageReaderName = "nonari-manual-page";

std::string& pageReaderChoice() {
    static std::string program;
    return program;
}

// Beside the running program (a build), else where it is installed relative to the program.
std::string pageReaderProgram() {
    if (!pageReaderChoice().empty()) return pageReaderChoice();
    const QString programs = QCoreApplication::applicationDirPath();
    for (const QString& folder : {programs, programs + u'/' + QLatin1String(NONARI_READER_FROM_BINDIR)}) {
        const QFileInfo reader(folder + u'/' + QLatin1String(pageReaderName));
        if (reader.isFile() && reader.isExecutable()) return QFile::encodeName(reader.absoluteFilePath()).toStdString();
    }
    return {};
}

// Archive paths are stored as UTF-8 and start at the root.
QByteArray archivePath(const QUrl& url) {
    QString path = url.path();
    if (!path.startsWith(u'/')) path.prepend(u'/');
    return path.toUtf8();
}

// The .chm the viewer shows. Its pages are read by a child process, since the archive library
// crashes, hangs or allocates without bound on damaged files; the game only sees a page or none.
class ManualFile {
public:
    // Nothing when the path is no readable regular file (a pipe would block the reader).
    static std::unique_ptr<ManualFile> open(const std::string& file) {
        const QFileInfo info(QString::fromStdString(file));
        if (!info.isFile() || !info.isReadable()) return nullptr;
        return std::unique_ptr<ManualFile>(new ManualFile(file));
    }

    std::optional<QByteArray> page(const QUrl& url) {
        const QByteArray path = archivePath(url);
        if (const auto cached = pages.constFind(path); cached != pages.constEnd()) return *cached;
        // Once the reader has failed on this file, the rest of it is not tried: each try may take
        // the reader's whole time limit.
        if (damaged || path.contains('\0')) return std::nullopt;
        ChildLimits limits;
        limits.outputBytes = largestPage;
        const ChildOutput read = runLimitedChild(pageReaderProgram(), {file, path.toStdString()}, limits);
        if (!read.exitCode || *read.exitCode != 0) {
            damaged = !read.exitCode || *read.exitCode != pageMissing;
            return std::nullopt;
        }
        QByteArray bytes(reinterpret_cast<const char*>(read.output.data()), static_cast<qsizetype>(read.output.size()));
        if (cachedBytes + bytes.size() <= static_cast<qsizetype>(largestCache)) {
            cachedBytes += bytes.size();
            pages.insert(path, bytes);
        }
        return bytes;
    }

private:
    static constexpr int pageMissing = 4;  // the reader's status for a page the file lacks

    explicit ManualFile(std::string path) : file(std::move(path)) {}

    std::string file;
    bool damaged = false;
    QHash<QByteArray, QByteArray> pages;
    qsizetype cachedBytes = 0;
};

std::optional<QByteArray> readEntry(ManualFile* manual, const QUrl& url) {
    if (!manual) return std::nullopt;
    return manual->page(url);
}

// Pages name their character set, or are UTF-8, or (older manuals) Windows-1252.
QString decodePage(const QByteArray& bytes) {
    const auto declared = QStringConverter::encodingForHtml(bytes);
    if (declared && *declared != QStringConverter::Utf8) return QStringDecoder(*declared).decode(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid()) return windows.decode(bytes);
    return QString::fromLatin1(bytes);
}

const QString fallbackTitle = QStringLiteral("Nonari - Hilfe");

class ChmBrowser : public QTextBrowser {
public:
    ChmBrowser() {
        setAttribute(Qt::WA_DeleteOnClose);
        // Topics open here; links out of the manual go to the desktop's own programs.
        setOpenLinks(false);
        connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
            if (url.scheme() != QLatin1String("chm"))
                QDesktopServices::openUrl(url);
            else if (readEntry(archive.get(), url))
                setSource(url);
            else
                QApplication::beep();  // a link to a topic the file lacks
        });
        setWindowTitle(fallbackTitle);
        resize(820, 620);
        connect(this, &QTextBrowser::sourceChanged, this, [this] {
            const QString title = documentTitle().trimmed();
            setWindowTitle(title.isEmpty() ? fallbackTitle : title);
        });
    }

    void setArchive(std::unique_ptr<ManualFile> opened) { archive = std::move(opened); }

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() != QLatin1String("chm")) return QTextBrowser::loadResource(type, name);
        const std::optional<QByteArray> bytes = readEntry(archive.get(), url);
        if (!bytes) return {};
        if (type == QTextDocument::HtmlResource) return decodePage(*bytes);
        if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(*bytes);
        return *bytes;
    }

private:
    std::unique_ptr<ManualFile> archive;
};

}  // namespace

QtHelpViewer::~QtHelpViewer() {
    if (viewer && QCoreApplication::instance()) delete viewer.data();
}

void QtHelpViewer::usePageReader(const std::string& program) { pageReaderChoice() = program; }

bool QtHelpViewer::show(const std::string& file, const std::string& topic) {
    std::unique_ptr<ManualFile> archive = ManualFile::open(file);
    if (!archive) return false;
    const QUrl url = QUrl(QStringLiteral("chm:/")).resolved(QUrl(QString::fromStdString(topic)));
    if (!readEntry(archive.get(), url)) return false;

    auto* browser = static_cast<ChmBrowser*>(viewer.data());
    if (!browser) {
        browser = new ChmBrowser;
        viewer = browser;
    }
    browser->setArchive(std::move(archive));
    if (browser->source() == url)
        browser->reload();
    else
        browser->setSource(url);
    if (browser->isVisible()) {
        browser->raise();
    } else {
        browser->show();
    }
    browser->activateWindow();
    return true;
}

}  // namespace nonari
