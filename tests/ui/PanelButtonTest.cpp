// Panel buttons: colours under the pointer, clicks by mouse and keyboard,
// the rounded outline, captions by text id.

#include "PanelTestSupport.h"
#include "support/LanguageScope.h"
#include "ui/PanelButton.h"
#include "ui/WideLanguageHandler.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor Normal(19, 177, 228);
const QColor Hover(255, 214, 52);
const QColor Pressed(212, 212, 212);

// A button on a white panel, as the work areas place them.
struct Button {
    Button() : widget(&panel) {
        panel.resize(300, 100);
        panel.setAutoFillBackground(true);
        QPalette white = panel.palette();
        white.setColor(QPalette::Window, Qt::white);
        panel.setPalette(white);
        widget.setGeometry(20, 20, 200, 40);
        widget.SetCaptionById("Reset", 0);
        panel.show();
    }
    QWidget panel;
    TAXO_TTNTPanelButton widget;
};

// Inside the rounded outline, left of the centred caption.
QPoint Face() {
    return {10, 20};
}

} // namespace

TEST(PanelButton, MouseColoursTheButtonAndClicksOnRelease) {
    Button button;
    QSignalSpy clicked(&button.widget, &TAXO_TTNTPanelButton::clicked);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Normal);

    PointerEnters(&button.widget);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Hover);
    QTest::mousePress(&button.widget, Qt::LeftButton, {}, Face());
    EXPECT_EQ(ShownColour(&button.widget, Face()), Pressed);
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseRelease(&button.widget, Qt::LeftButton, {}, Face());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Hover);
    PointerLeaves(&button.widget);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Normal);

    // Released away from the button: no click.
    QTest::mousePress(&button.widget, Qt::LeftButton, {}, Face());
    QTest::mouseRelease(&button.widget, Qt::LeftButton, {}, QPoint(300, 20));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Normal);
    QTest::mouseClick(&button.widget, Qt::RightButton, {}, Face());
    EXPECT_EQ(clicked.count(), 1);
}

TEST(PanelButton, DisabledButtonKeepsTheColourItsUserGaveIt) {
    Button button;
    QSignalSpy clicked(&button.widget, &TAXO_TTNTPanelButton::clicked);
    button.widget.setEnabled(false);
    button.widget.SetBackground(Pressed);

    PointerEnters(&button.widget);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Pressed);
    QTest::mouseClick(&button.widget, Qt::LeftButton, {}, Face());
    PointerLeaves(&button.widget);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Pressed);
    QTest::keyClick(&button.widget, Qt::Key_Space);
    QTest::keyClick(&button.widget, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 0);

    button.widget.setEnabled(true);
    QTest::mouseClick(&button.widget, Qt::LeftButton, {}, Face());
    EXPECT_EQ(clicked.count(), 1);
}

TEST(PanelButton, KeyboardActivatesItLikeAnyDesktopButton) {
    Button button;
    QSignalSpy clicked(&button.widget, &TAXO_TTNTPanelButton::clicked);
    EXPECT_EQ(button.widget.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(button.widget.cursor().shape(), Qt::PointingHandCursor);

    QTest::keyPress(&button.widget, Qt::Key_Space);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Pressed);
    EXPECT_EQ(clicked.count(), 0);
    QTest::keyRelease(&button.widget, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Normal);

    QTest::keyClick(&button.widget, Qt::Key_Return);
    QTest::keyClick(&button.widget, Qt::Key_Enter);
    EXPECT_EQ(clicked.count(), 3);
    QTest::keyClick(&button.widget, Qt::Key_A);
    QTest::keyClick(&button.widget, Qt::Key_Escape);
    EXPECT_EQ(clicked.count(), 3);

    // Space held while the focus moves away gives no click.
    QTest::keyPress(&button.widget, Qt::Key_Space);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&button.widget, &focusOut);
    QTest::keyRelease(&button.widget, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 3);
    EXPECT_EQ(ShownColour(&button.widget, Face()), Normal);
}

TEST(PanelButton, WindowRegionIsARoundedRectangle) {
    Button button;
    button.widget.resize(120, 30);
    const QRegion region = button.widget.mask();
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(119, 29)));
    EXPECT_FALSE(region.contains(QPoint(119, 0)));
    EXPECT_TRUE(region.contains(QPoint(60, 0)));
    EXPECT_TRUE(region.contains(QPoint(0, 15)));
    EXPECT_TRUE(region.contains(QPoint(60, 15)));
    EXPECT_TRUE(region.contains(QPoint(7, 7)));
    // Outside the rounded corners the panel behind the button shows.
    const QImage shown = button.panel.grab().toImage();
    EXPECT_EQ(shown.pixelColor(20, 20), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(20 + 119, 20 + 29), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(20 + 8, 20 + 15), Normal);
}

TEST(PanelButton, CaptionByTextId) {
    LanguageScope english(OffsetEnglish);
    Button button;
    button.widget.SetCaptionById("Read", 0);
    EXPECT_EQ(button.widget.text(), "Read");
    EXPECT_EQ(button.widget.TextId(), 0);

    ASSERT_FALSE(GetText(33).isEmpty());
    button.widget.SetCaptionById("ignored", 33);
    EXPECT_EQ(button.widget.text(), GetText(33));
    EXPECT_EQ(button.widget.TextId(), 33);
    // A caption given without an id leaves the remembered id alone.
    button.widget.SetCaptionById("Other", -1);
    EXPECT_EQ(button.widget.text(), "Other");
    EXPECT_EQ(button.widget.TextId(), 33);

    button.widget.setProperty("caption", QStringLiteral("Zurücksetzen"));
    EXPECT_EQ(button.widget.text(), "Zurücksetzen");
}
