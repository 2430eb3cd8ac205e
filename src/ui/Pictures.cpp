#include "Pictures.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QSvgRenderer>

// Resources compiled into a static library are registered explicitly.
static void InitPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace Pictures {
namespace {

constexpr int IconHeight = 96;
constexpr int GaugeHeight = 640;
constexpr int LogoHeight = 450;
constexpr int MakerLogoHeight = 200;
constexpr int MarkSize = 256;

const QColor SuccessColour(75, 217, 66);
const QColor FailedColour(194, 16, 16);

// Kept as images: pixmaps must not outlive the application object.
QImage& SuccessStore() {
    static QImage image;
    return image;
}

QImage& FailedStore() {
    static QImage image;
    return image;
}

// One mark: the quadrilaterals filled (outline included) in one colour on a
// white bitmap, then every white pixel made transparent. Drawn without
// smoothing, so the edge has no white-blended pixels that would stay
// visible as a light fringe on dark rows.
QImage DrawMark(const QColor& colour, const QList<QPolygon>& shapes) {
    QImage image(MarkSize, MarkSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(colour);
        painter.setBrush(colour);
        for (const QPolygon& shape : shapes)
            painter.drawPolygon(shape);
    }
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == white)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

} // namespace

QStringList Names() {
    return {"parameter",   "measurement",  "firmware", "terminal",  "precision", "service",
            "connected",   "disconnected", "locked",   "warning",   "edited",    "tessra2_200",
            "tessra2_400", "tessra2_s",    "logo",     "maker_logo"};
}

QPixmap Render(const QString& name, int height) {
    static const bool registered = (InitPictureResources(), true);
    Q_UNUSED(registered);
    static QHash<QString, QImage> cache;

    if (height <= 0)
        return {};
    const QString key = name + '@' + QString::number(height);
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return QPixmap::fromImage(*found);

    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    if (!renderer.isValid())
        return {};
    const QRectF box = renderer.viewBoxF();
    const int width =
        box.height() > 0 ? qMax(1, qRound(height * box.width() / box.height())) : height;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    cache.insert(key, image);
    return QPixmap::fromImage(image);
}

QPixmap ParameterImage() {
    return Render("parameter", IconHeight);
}
QPixmap MeasurementImage() {
    return Render("measurement", IconHeight);
}
QPixmap FirmwareUpdateImage() {
    return Render("firmware", IconHeight);
}
QPixmap TerminalImage() {
    return Render("terminal", IconHeight);
}
QPixmap PrecisionImage() {
    return Render("precision", IconHeight);
}
QPixmap ServiceImage() {
    return Render("service", IconHeight);
}
QPixmap ConnectedImage() {
    return Render("connected", IconHeight);
}
QPixmap DisconnectedImage() {
    return Render("disconnected", IconHeight);
}
QPixmap LockedImage() {
    return Render("locked", IconHeight);
}
QPixmap Tessra2_200_Image() {
    return Render("tessra2_200", GaugeHeight);
}
QPixmap Tessra2_400_Image() {
    return Render("tessra2_400", GaugeHeight);
}
QPixmap Tessra2SImage() {
    return Render("tessra2_s", GaugeHeight);
}
QPixmap WarningImage() {
    return Render("warning", IconHeight);
}
QPixmap LogoImage() {
    return Render("logo", LogoHeight);
}
QPixmap MakerLogoImage() {
    return Render("maker_logo", MakerLogoHeight);
}
QPixmap editedImage() {
    return Render("edited", IconHeight);
}

void DrawSuccessAndFailedImages() {
    SuccessStore() =
        DrawMark(SuccessColour,
                 {QPolygon({QPoint(64, 160), QPoint(128, 224), QPoint(160, 192), QPoint(96, 128)}),
                  QPolygon({QPoint(128, 224), QPoint(256, 96), QPoint(224, 64), QPoint(96, 192)})});
    FailedStore() =
        DrawMark(FailedColour,
                 {QPolygon({QPoint(0, 32), QPoint(224, 256), QPoint(256, 224), QPoint(32, 0)}),
                  QPolygon({QPoint(32, 256), QPoint(256, 32), QPoint(224, 0), QPoint(0, 224)})});
}

QPixmap successImage() {
    if (SuccessStore().isNull())
        DrawSuccessAndFailedImages();
    return QPixmap::fromImage(SuccessStore());
}

QPixmap failedImage() {
    if (FailedStore().isNull())
        DrawSuccessAndFailedImages();
    return QPixmap::fromImage(FailedStore());
}

} // namespace Pictures
