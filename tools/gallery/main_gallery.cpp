// tessra2-gallery: renders the panel kit and the pictures into PNG files,
// one per widget state and per picture, plus one overview sheet, so that the
// look of the program can be reviewed without a gauge.
//
//   tessra2-gallery [output folder]      (default: ./gallery)

#include "ui/Palette.h"
#include "ui/PanelButton.h"
#include "ui/Pictures.h"
#include "ui/TTNTPanel.h"
#include "ui/TTNTStatusPanel.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextStream>

#include <functional>
#include <memory>

namespace {

const QColor& Yellow = Palette::Accent;
const QColor& Dark = Palette::Dark;
const QColor& Light = Palette::Light;

constexpr int TileWidth = 180;
constexpr int TileHeight = 120;
constexpr int RowWidth = 640;
constexpr int RowHeight = 34;
constexpr int StateTileWidth = 150;
constexpr int SheetRowWidth = 1060;

class Gallery {
public:
    explicit Gallery(const QString& folder) : folder_(folder) {}

    bool Save(const QString& name, const QImage& image) {
        const QString path = folder_.filePath(name + ".png");
        if (!image.save(path)) {
            QTextStream(stderr) << "cannot write " << path << "\n";
            ok_ = false;
            return false;
        }
        ++written_;
        return true;
    }
    bool Ok() const { return ok_; }
    int Written() const { return written_; }
    QString Path(const QString& name) const { return folder_.filePath(name + ".png"); }

private:
    QDir folder_;
    bool ok_ = true;
    int written_ = 0;
};

QImage Grab(QWidget* widget) {
    return widget->grab().toImage();
}

void Enter(QWidget* widget) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(widget, &event);
}

void Press(QWidget* widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// ---------------------------------------------------------------- widgets

std::unique_ptr<TAXO_TTNTPanel> MakeTile(const QPixmap& picture, const QString& caption) {
    auto tile = std::make_unique<TAXO_TTNTPanel>();
    tile->resize(TileWidth, TileHeight);
    tile->LightColor = Light;
    tile->HoverColor = Light;
    tile->DarkColor = Dark;
    tile->SetLockPicture(Pictures::LockedImage());
    tile->SetPicture(picture);
    tile->SetCaption(caption);
    tile->SetSelected(false);
    return tile;
}

std::unique_ptr<TAXO_TTNTStatusPanel> MakeRow(const QString& caption, int width = RowWidth) {
    auto row = std::make_unique<TAXO_TTNTStatusPanel>();
    row->resize(width, RowHeight);
    row->SetTextSize(10);
    row->SetCaptionText(caption, 0);
    return row;
}

std::unique_ptr<TAXO_TTNTPanelButton> MakeButton(const QString& caption) {
    auto button = std::make_unique<TAXO_TTNTPanelButton>();
    QFont font = button->font();
    font.setPointSize(10);
    font.setBold(true);
    button->setFont(font);
    button->resize(220, 44);
    button->SetCaptionById(caption, 0);
    button->SetBackground(button->NormalColor);
    return button;
}

void RenderTiles(Gallery& gallery) {
    struct State {
        const char* name;
        std::function<void(TAXO_TTNTPanel*)> apply;
    };
    const State states[] = {
        {"unselected", [](TAXO_TTNTPanel*) {}},
        {"hover", [](TAXO_TTNTPanel* tile) { Enter(tile); }},
        {"selected", [](TAXO_TTNTPanel* tile) { tile->SetSelected(true); }},
        {"locked", [](TAXO_TTNTPanel* tile) { tile->SetLocked(true); }},
    };
    for (const State& state : states) {
        for (const bool withCaption : {true, false}) {
            auto tile = MakeTile(Pictures::MeasurementImage(), withCaption ? "Measurement" : "");
            state.apply(tile.get());
            gallery.Save(
                QStringLiteral("tile_%1_%2").arg(state.name, withCaption ? "caption" : "nocaption"),
                Grab(tile.get()));
        }
    }
}

void RenderRows(Gallery& gallery) {
    const QString fifty = "Errors and warnings: 0123456789 ABCDEFGHIJ abcdefg";
    Q_ASSERT(fifty.size() == 50);
    struct Case {
        const char* name;
        std::function<void(TAXO_TTNTStatusPanel*)> apply;
    };
    const Case cases[] = {
        {"caption", [](TAXO_TTNTStatusPanel*) {}},
        {"caption_value", [](TAXO_TTNTStatusPanel* row) { row->SetValueText("09A12345 / 3"); }},
        {"value_50", [&](TAXO_TTNTStatusPanel* row) { row->SetValueText(fifty); }},
        {"value_51", [&](TAXO_TTNTStatusPanel* row) { row->SetValueText(fifty + "X"); }},
        {"success",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetValueText("2.14.0");
             row->SetStatusImage(Pictures::successImage());
         }},
        {"failed",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetValueText("- - - -");
             row->SetStatusImage(Pictures::failedImage());
         }},
        {"warning",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetValueText("1040 Errors and warnings:");
             row->SetStatusImage(Pictures::WarningImage());
         }},
        {"edited",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetValueText("°C");
             row->SetStatusImage(Pictures::editedImage());
         }},
        {"hover",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetValueText("2.14.0");
             Enter(row);
         }},
        {"highlighted",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetValueText("2.14.0");
             row->SetHighlighted(true);
             row->SetStatusImage(Pictures::successImage());
             Enter(row);
         }},
        {"highlighted_off",
         [](TAXO_TTNTStatusPanel* row) {
             row->SetHighlighted(false);
             row->SetStatusImage(Pictures::successImage());
         }},
    };
    for (const Case& c : cases) {
        auto row = MakeRow("Firmware version:");
        c.apply(row.get());
        gallery.Save(QStringLiteral("status_%1").arg(c.name), Grab(row.get()));
    }
}

void RenderButtons(Gallery& gallery) {
    struct State {
        const char* name;
        std::function<void(TAXO_TTNTPanelButton*)> apply;
    };
    const State states[] = {
        {"normal", [](TAXO_TTNTPanelButton*) {}},
        {"hover", [](TAXO_TTNTPanelButton* button) { Enter(button); }},
        {"pressed", [](TAXO_TTNTPanelButton* button) { Press(button); }},
        {"disabled",
         [](TAXO_TTNTPanelButton* button) {
             button->setEnabled(false);
             button->SetBackground(Light); // users colour a disabled button
         }},
    };
    for (const State& state : states) {
        auto button = MakeButton("Read from Axo Tessra2");
        state.apply(button.get());
        gallery.Save(QStringLiteral("button_%1").arg(state.name), Grab(button.get()));
    }
}

int LargeHeight(const QString& name) {
    if (name.startsWith("tessra2"))
        return 640;
    if (name == "logo")
        return 450;
    if (name == "maker_logo")
        return 200;
    return 256;
}

void RenderPictures(Gallery& gallery) {
    for (const QString& name : Pictures::Names()) {
        gallery.Save("picture_" + name + "_48", Pictures::Render(name, 48).toImage());
        gallery.Save("picture_" + name + "_large",
                     Pictures::Render(name, LargeHeight(name)).toImage());
    }
    const std::pair<const char*, QPixmap> marks[] = {{"success", Pictures::successImage()},
                                                     {"failed", Pictures::failedImage()}};
    for (const auto& [name, mark] : marks) {
        gallery.Save(QStringLiteral("picture_%1_48").arg(name),
                     mark.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation).toImage());
        gallery.Save(QStringLiteral("picture_%1_large").arg(name), mark.toImage());
    }
}

// ---------------------------------------------------------------- overview

class Sheet {
public:
    Sheet(int width, int height) : image_(width, height, QImage::Format_ARGB32_Premultiplied) {
        image_.fill(QColor(246, 246, 246));
        painter_.begin(&image_);
        painter_.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                                QPainter::TextAntialiasing);
    }
    QPainter& Painter() { return painter_; }
    QImage Finish() {
        painter_.end();
        return image_;
    }

    void Heading(int x, int y, const QString& text) {
        QFont font = QApplication::font();
        font.setPointSize(13);
        font.setBold(true);
        painter_.setFont(font);
        painter_.setPen(Dark);
        painter_.drawText(QPoint(x, y), text);
        painter_.fillRect(QRect(x, y + 6, 36, 4), Yellow);
    }
    void Note(int x, int y, const QString& text, const QColor& colour = QColor(110, 110, 110)) {
        QFont font = QApplication::font();
        font.setPointSize(9);
        painter_.setFont(font);
        painter_.setPen(colour);
        painter_.drawText(QPoint(x, y), text);
    }
    void Draw(int x, int y, const QImage& image) { painter_.drawImage(QPoint(x, y), image); }
    void DrawScaled(const QRect& box, const QPixmap& picture) {
        const QSize size = picture.size().scaled(box.size(), Qt::KeepAspectRatio);
        painter_.drawPixmap(QRect(box.x() + (box.width() - size.width()) / 2,
                                  box.y() + (box.height() - size.height()) / 2, size.width(),
                                  size.height()),
                            picture);
    }

private:
    QImage image_;
    QPainter painter_;
};

// The main window's tile row as the program shows it: seven tiles between
// two yellow strips, one selected, one under the mouse, three locked.
void DrawTileRow(Sheet& sheet, int x, int y, int width) {
    const int tileWidth = width / 7;
    sheet.Painter().fillRect(QRect(x, y, tileWidth * 7, 8), Yellow);
    const std::pair<QPixmap, QString> tiles[] = {
        {Pictures::ConnectedImage(), "Connected"},
        {Pictures::ParameterImage(), "Parameter"},
        {Pictures::MeasurementImage(), "Measurement"},
        {Pictures::FirmwareUpdateImage(), "Firmware update"},
        {Pictures::TerminalImage(), "SDI-12 Terminal"},
        {Pictures::PrecisionImage(), "Guided accuracy test"},
        {Pictures::ServiceImage(), "Service"},
    };
    for (int i = 0; i < 7; ++i) {
        auto tile = MakeTile(tiles[i].first, tiles[i].second);
        tile->resize(tileWidth, TileHeight);
        if (i == 0)
            tile->SetSelected(true);
        if (i == 3)
            Enter(tile.get());
        sheet.Draw(x + i * tileWidth, y + 8, Grab(tile.get()));
    }
    sheet.Painter().fillRect(QRect(x, y + 8 + TileHeight, tileWidth * 7, 8), Yellow);
}

// A connection area in small: title strip, information rows in alternating
// shading with their marks, the read button, and the gauge picture.
void DrawConnectionArea(Sheet& sheet, int x, int y, int width, int height) {
    QPainter& p = sheet.Painter();
    p.fillRect(QRect(x, y, width, height), Qt::white);
    p.fillRect(QRect(x, y, 8, height), Yellow);
    p.fillRect(QRect(x + width - 8, y, 8, height), Yellow);
    p.setPen(Qt::NoPen);
    p.setBrush(Yellow);
    p.drawRoundedRect(QRect(x + 16, y + 10, width - 32, 30), 10, 10);
    QFont title = QApplication::font();
    title.setPointSize(12);
    p.setFont(title);
    p.setPen(Dark);
    p.drawText(QRect(x + 16, y + 10, width - 32, 30), Qt::AlignCenter, "Statusinformation");

    struct Info {
        const char* caption;
        const char* value;
        int mark; // 0 none, 1 success, 2 failed, 3 warning, 4 edited
    };
    const Info infos[] = {
        {"Serial number / HW Index:", "09A12345 / 3", 1},
        {"Firmware version:", "2.14.0", 1},
        {"Last configuration:", "2024-05-17 09:41:05", 1},
        {"Last firmware update:", "- - - -", 2},
        {"Axo Tessra2 type:", "200 cm²", 1},
        {"Nominal heating temperature:", "41 °F", 4},
        {"Heating mode:", "permanent", 3},
        {"Time", "2024-05-17 10:02:44", 0},
    };
    const int rowsWidth = width - 225 - 16;
    int rowY = y + 50;
    bool shaded = false;
    for (const Info& info : infos) {
        auto row = MakeRow(info.caption, rowsWidth);
        row->resize(rowsWidth, 32);
        row->setFrameStyle(QFrame::NoFrame);
        const QColor background = shaded ? Light : Qt::white;
        row->LeaveColor = background;
        row->EnterColor = QColor(192, 192, 192);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(row.get(), &leave);
        row->SetValueText(info.value);
        const QPixmap marks[] = {QPixmap(), Pictures::successImage(), Pictures::failedImage(),
                                 Pictures::WarningImage(), Pictures::editedImage()};
        if (info.mark > 0)
            row->SetStatusImage(marks[info.mark]);
        else
            row->SetPartsVisible(true, true, false);
        if (&info == &infos[2])
            Enter(row.get()); // the row under the mouse
        sheet.Draw(x + 16, rowY, Grab(row.get()));
        rowY += 32;
        shaded = !shaded;
    }
    auto button = MakeButton("Read from Axo Tessra2");
    button->resize(240, 44);
    sheet.Draw(x + 16 + (rowsWidth - 240) / 2, rowY + 14, Grab(button.get()));

    QFont device = QApplication::font();
    device.setPointSize(12);
    device.setBold(true);
    p.setFont(device);
    p.setPen(Dark);
    const int pictureLeft = x + width - 205;
    p.drawText(QRect(pictureLeft, y + 46, 190, 30), Qt::AlignCenter, "Axo Tessra2");
    sheet.DrawScaled(QRect(pictureLeft + 5, y + 80, 180, height - 90),
                     Pictures::Tessra2_200_Image());
}

QImage Overview() {
    constexpr int Width = 1400;
    constexpr int Margin = 40;
    Sheet sheet(Width, 2370);
    QPainter& p = sheet.Painter();

    // Header: program logo, name, maker.
    p.fillRect(QRect(0, 0, Width, 150), Qt::white);
    p.fillRect(QRect(0, 150, Width, 6), Yellow);
    sheet.DrawScaled(QRect(Margin, 15, 160, 120), Pictures::Render("logo", 240));
    QFont big = QApplication::font();
    big.setPointSize(22);
    big.setBold(true);
    p.setFont(big);
    p.setPen(Dark);
    p.drawText(QPoint(Margin + 190, 72), "Tessra2 service program");
    sheet.Note(Margin + 192, 102,
               "Panel kit and pictures: tiles, status rows, panel buttons, "
               "marks, gauges and logos");
    sheet.DrawScaled(QRect(Width - Margin - 260, 45, 260, 65), Pictures::Render("maker_logo", 130));

    int y = 200;
    sheet.Heading(Margin, y, "Main window");
    y += 24;
    DrawTileRow(sheet, Margin, y, Width - 2 * Margin);
    y += TileHeight + 16;
    DrawConnectionArea(sheet, Margin, y, Width - 2 * Margin, 420);
    y += 420 + 50;

    // Tile states.
    sheet.Heading(Margin, y, "Navigation tile");
    y += 24;
    const char* tileStates[] = {"unselected", "hover", "selected", "locked"};
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 2; ++c) {
            const QString name =
                QStringLiteral("tile_%1_%2").arg(tileStates[i], c == 0 ? "caption" : "nocaption");
            auto tile = MakeTile(Pictures::MeasurementImage(), c == 0 ? "Measurement" : "");
            tile->resize(StateTileWidth, TileHeight);
            if (i == 1)
                Enter(tile.get());
            if (i == 2)
                tile->SetSelected(true);
            if (i == 3)
                tile->SetLocked(true);
            const int tx = Margin + (i * 2 + c) * (StateTileWidth + 18);
            sheet.Draw(tx, y, Grab(tile.get()));
            sheet.Note(tx, y + TileHeight + 18,
                       QStringLiteral("%1%2").arg(tileStates[i], c == 0 ? "" : ", no caption"));
        }
    }
    y += TileHeight + 56;

    // Status rows and buttons side by side.
    sheet.Heading(Margin, y, "Status row");
    y += 24;
    const QString fifty = "Errors and warnings: 0123456789 ABCDEFGHIJ abcdefg";
    struct RowCase {
        const char* note;
        std::function<void(TAXO_TTNTStatusPanel*)> apply;
    };
    const RowCase rows[] = {
        {"caption only", [](TAXO_TTNTStatusPanel*) {}},
        {"caption and value", [](TAXO_TTNTStatusPanel* r) { r->SetValueText("09A12345 / 3"); }},
        {"value of 50 characters", [&](TAXO_TTNTStatusPanel* r) { r->SetValueText(fifty); }},
        {"value of 51 characters", [&](TAXO_TTNTStatusPanel* r) { r->SetValueText(fifty + "X"); }},
        {"success",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("2.14.0");
             r->SetStatusImage(Pictures::successImage());
         }},
        {"failed",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("- - - -");
             r->SetStatusImage(Pictures::failedImage());
         }},
        {"warning",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("1040 Errors and warnings:");
             r->SetStatusImage(Pictures::WarningImage());
         }},
        {"edited",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("°C");
             r->SetStatusImage(Pictures::editedImage());
         }},
        {"under the mouse",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("2.14.0");
             Enter(r);
         }},
        {"highlighted (ignores the mouse)",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("2.14.0");
             r->SetHighlighted(true);
             r->SetStatusImage(Pictures::successImage());
             Enter(r);
         }},
        {"highlight off",
         [](TAXO_TTNTStatusPanel* r) {
             r->SetValueText("2.14.0");
             r->SetHighlighted(false);
             r->SetStatusImage(Pictures::successImage());
         }},
    };
    int rowY = y;
    for (const RowCase& c : rows) {
        auto row = MakeRow("Firmware version:", SheetRowWidth);
        c.apply(row.get());
        sheet.Draw(Margin, rowY, Grab(row.get()));
        sheet.Note(Margin + SheetRowWidth + 12, rowY + 22, c.note);
        rowY += RowHeight + 8;
    }
    y = rowY + 40;
    sheet.Heading(Margin, y, "Panel button");
    y += 24;
    const char* buttonStates[] = {"normal", "hover", "pressed", "disabled"};
    for (int i = 0; i < 4; ++i) {
        auto button = MakeButton("Read from Axo Tessra2");
        if (i == 1)
            Enter(button.get());
        if (i == 2)
            Press(button.get());
        if (i == 3) {
            button->setEnabled(false);
            button->SetBackground(Light);
        }
        const int bx = Margin + i * 250;
        sheet.Draw(bx, y, Grab(button.get()));
        sheet.Note(bx + 4, y + 62, buttonStates[i]);
    }
    y += 110;

    // Pictures at 48 px on the three backgrounds they meet.
    sheet.Heading(Margin, y, "Pictures at 48 px");
    y += 24;
    QStringList small = Pictures::Names();
    small.removeAll("logo");
    small.removeAll("maker_logo");
    const QColor backgrounds[] = {Dark, Light, Qt::white};
    for (int b = 0; b < 3; ++b) {
        int px = Margin;
        p.fillRect(QRect(Margin, y, Width - 2 * Margin, 64), backgrounds[b]);
        for (const QString& name : small) {
            const QPixmap picture = Pictures::Render(name, 48);
            p.drawPixmap(px + 8, y + 8, picture);
            px += picture.width() + 22;
        }
        for (const QPixmap& mark : {Pictures::successImage(), Pictures::failedImage()}) {
            p.drawPixmap(QRect(px + 8, y + 8, 48, 48), mark);
            px += 70;
        }
        y += 64;
    }
    y += 40;

    // Large pictures.
    sheet.Heading(Margin, y, "Gauges and logos");
    y += 24;
    p.fillRect(QRect(Margin, y, Width - 2 * Margin, 360), Qt::white);
    int gx = Margin + 20;
    for (const char* gauge : {"tessra2_200", "tessra2_400", "tessra2_s"}) {
        sheet.DrawScaled(QRect(gx, y + 10, 170, 340), Pictures::Render(gauge, 340));
        gx += 190;
    }
    sheet.DrawScaled(QRect(gx + 20, y + 20, 380, 320), Pictures::Render("logo", 320));
    sheet.DrawScaled(QRect(gx + 420, y + 130, 290, 80), Pictures::Render("maker_logo", 80));
    return sheet.Finish();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    if (!QDir().mkpath(folder)) {
        QTextStream(stderr) << "cannot create " << folder << "\n";
        return 1;
    }
    Pictures::DrawSuccessAndFailedImages();

    Gallery gallery(folder);
    RenderTiles(gallery);
    RenderRows(gallery);
    RenderButtons(gallery);
    RenderPictures(gallery);
    gallery.Save("overview", Overview());

    QTextStream(stdout) << gallery.Written() << " pictures in " << QDir(folder).absolutePath()
                        << "\n";
    return gallery.Ok() ? 0 : 1;
}
