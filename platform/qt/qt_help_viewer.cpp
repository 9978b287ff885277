// A viewer for compiled HTML help files: topics and their images come straight out of the .chm archive.
#include "platform/qt/qt_help_viewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QUrl>

#include <chm_lib.h>

#include <memory>
#include <optional>

namespace nonari {

namespace {

// No topic or picture of a manual comes near this; larger entries are taken as damage.
constexpr LONGUINT64 largestEntry = 64u * 1024u * 1024u;

struct ChmClose {
    void operator()(chmFile* file) const { chm_close(file); }
};
using ChmArchive = std::unique_ptr<chmFile, ChmClose>;

ChmArchive openArchive(const std::string& file) {
    const QString path = QString::fromStdString(file);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return nullptr;
    return ChmArchive(chm_open(QFile::encodeName(path).constData()));
}

// Archive paths are stored as UTF-8 and start at the root.
QByteArray archivePath(const QUrl& url) {
    QString path = url.path();
    if (!path.startsWith(u'/')) path.prepend(u'/');
    return path.toUtf8();
}

std::optional<QByteArray> readEntry(chmFile* archive, const QUrl& url) {
    if (!archive) return std::nullopt;
    chmUnitInfo entry{};
    if (chm_resolve_object(archive, archivePath(url).constData(), &entry) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (entry.length > largestEntry) return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(entry.length), '\0');
    const LONGINT64 length = static_cast<LONGINT64>(entry.length);
    if (length > 0 &&
        chm_retrieve_object(archive, &entry, reinterpret_cast<unsigned char*>(bytes.data()), 0, length) != length)
        return std::nullopt;
    return bytes;
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

    void setArchive(ChmArchive opened) { archive = std::move(opened); }

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
    ChmArchive archive;
};

}  // namespace

QtHelpViewer::~QtHelpViewer() {
    if (viewer && QCoreApplication::instance()) delete viewer.data();
}

bool QtHelpViewer::show(const std::string& file, const std::string& topic) {
    ChmArchive archive = openArchive(file);
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
