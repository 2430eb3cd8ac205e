#pragma once

// The report's PDF as poppler's tools see it: the text pdftotext extracts,
// the metadata pdfinfo shows, the boxes of words, and a page rendered by
// pdftoppm. Each returns an empty result when its tool is missing.

#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <vector>

namespace PdfTools {

inline bool Available() {
    for (const char* tool : {"pdftotext", "pdftoppm", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

inline QByteArray Run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

// The text of every page, laid out as on the page (labels and values of a
// table row on one line).
inline QString Text(const QString& pdf) {
    return QString::fromUtf8(
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")}));
}

inline QString Info(const QString& pdf) {
    return QString::fromUtf8(Run(QStringLiteral("pdfinfo"), {pdf}));
}

struct Word {
    QString text;
    QRectF box; // points, from the page's top-left corner
    int page;
};

inline std::vector<Word> Words(const QString& pdf) {
    const QByteArray html =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<Word> words;
    QXmlStreamReader xml(html);
    int page = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const QRectF box(QPointF(a.value("xMin").toDouble(), a.value("yMin").toDouble()),
                             QPointF(a.value("xMax").toDouble(), a.value("yMax").toDouble()));
            words.push_back({xml.readElementText(), box, page});
        }
    }
    return words;
}

// Page page rendered at 72 dpi: one pixel per point.
inline QImage Page(const QString& pdf, int page = 1) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
         QString::number(page), QStringLiteral("-l"), QString::number(page),
         QStringLiteral("-singlefile"), pdf, base});
    return QImage(base + QStringLiteral(".png"));
}

} // namespace PdfTools
