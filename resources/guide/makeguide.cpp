// Turns a user guide written in Markdown into the PDF the program's help command opens.
//   lumetra4-makeguide [--base DIR] GUIDE.md OUTPUT.pdf
// Pictures (![caption](images/x.png)) are read relative to the guide's folder, or to DIR, and
// embedded; a picture wider than the page's text is scaled down to that width. A picture that
// cannot be read ends the run with its file named, so no guide goes out with a blank.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <cstdio>

namespace {

// QTextDocument::print keeps a margin of 2 cm inside the printable area of each page; the
// writer's own margins are therefore none.
constexpr qreal printMarginMillimetres = 20;

// The text width of an A4 page in the document's layout units (1/96 inch).
qreal textWidth()
{
    const qreal millimetres = QPageSize(QPageSize::A4).size(QPageSize::Millimeter).width()
                              - 2 * printMarginMillimetres;
    return millimetres / 25.4 * 96.0;
}

// Loads every picture the document names into it and sets the size it is printed at.
// Returns the paths of the pictures that could not be read.
QStringList embedPictures(QTextDocument &guide, const QDir &base)
{
    struct Picture
    {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Picture> pictures;
    for (QTextBlock block = guide.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                pictures.append({fragment.position(), fragment.length(),
                                 fragment.charFormat().toImageFormat()});
            }
        }
    }
    QStringList missing;
    for (Picture &picture : pictures) {
        const QString path = base.filePath(picture.format.name());
        const QImage image(path);
        if (image.isNull()) {
            missing << QDir::toNativeSeparators(path);
            continue;
        }
        guide.addResource(QTextDocument::ImageResource, QUrl(picture.format.name()), image);
        const qreal width = std::min<qreal>(image.width(), textWidth());
        picture.format.setWidth(width);
        picture.format.setHeight(width * image.height() / image.width());
        QTextCursor cursor(&guide);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
    return missing;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString baseFolder;
    if (arguments.size() == 4 && arguments.first() == QLatin1String("--base")) {
        baseFolder = arguments.at(1);
        arguments = arguments.mid(2);
    }
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: %s [--base DIR] GUIDE.md OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    const QString sourcePath = arguments.at(0);
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(sourcePath), qPrintable(source.errorString()));
        return 1;
    }
    if (baseFolder.isEmpty())
        baseFolder = QFileInfo(sourcePath).absolutePath();

    QTextDocument guide;
    guide.setMarkdown(QString::fromUtf8(source.readAll()));
    const QStringList missing = embedPictures(guide, QDir(baseFolder));
    if (!missing.isEmpty()) {
        for (const QString &path : missing) {
            std::fprintf(stderr, "%s: picture %s cannot be read\n", qPrintable(sourcePath),
                         qPrintable(path));
        }
        return 1;
    }

    QSaveFile output(arguments.at(1));
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(arguments.at(1)),
                     qPrintable(output.errorString()));
        return 1;
    }
    {
        QPdfWriter pdf(&output);
        pdf.setTitle(QStringLiteral("Lumetra 4 Desktop"));
        pdf.setCreator(QStringLiteral("Lumetra 4 Desktop"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(), QPageLayout::Millimeter));
        pdf.setResolution(300);
        guide.print(&pdf);
    }
    if (!output.commit()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(arguments.at(1)),
                     qPrintable(output.errorString()));
        return 1;
    }
    return 0;
}
