#include "controls/xStatic.h"
#include "ControlsTestUtil.h"
#include "tests/support/TempDir.h"
#include <QApplication>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

QStringList Break(const QString& text, int width) {
    return CxStatic::BreakLines(text, width, QFontMetrics(ArialFont()));
}
int Advance(const QString& text) {
    return QFontMetrics(ArialFont()).horizontalAdvance(text);
}

TEST(xStaticLines, BreaksAtTheLastSpaceThatFits) {
    EXPECT_EQ(Break("hello world", 1000), QStringList{"hello world"});
    EXPECT_EQ(Break("aa aa aaaaa", Advance("aa aa aa") + 1), (QStringList{"aa aa", "aaaaa"}));
    EXPECT_EQ(Break("aaaa aaaa aaaa", Advance("aaaa aa") + 1),
              (QStringList{"aaaa", "aaaa", "aaaa"}));
    EXPECT_TRUE(Break("", 100).isEmpty());
}

TEST(xStaticLines, LongWordBrokenBetweenCharacters) {
    const QString word = "abcdefghijklmnop";
    const int nWidth = Advance("abcd") + 1;
    const QStringList lines = Break(word, nWidth);
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.front(), "abcd");
    EXPECT_EQ(lines.join(QString()), word);
    for (const QString& line : lines)
        EXPECT_LE(Advance(line), nWidth) << line.toStdString();
}

TEST(xStaticLines, OverflowingLineKeepsItsTrailingSpace) {
    EXPECT_EQ(Break("aaa bbb", Advance("aaa ") + 1), (QStringList{"aaa ", "bbb"}));
}

TEST(xStaticLines, BreaksAtEveryLinePair) {
    EXPECT_EQ(Break("one\r\ntwo\r\nthree", 1000), (QStringList{"one", "two", "three"}));
    EXPECT_EQ(Break("one\n\rtwo", 1000), (QStringList{"one", "two"}));
    EXPECT_EQ(Break("one\r\n\r\ntwo", 1000), (QStringList{"one", "", "two"}));
    EXPECT_EQ(Break("one\r\n", 1000), QStringList{"one"});
    // Wrapping and pairs together.
    EXPECT_EQ(Break("aa aa aaaaa\r\nb", Advance("aa aa aa") + 1),
              (QStringList{"aa aa", "aaaaa", "b"}));
}

TEST(xStaticLines, LoneReturnOrLineFeedBreaksOnItsOwn) {
    EXPECT_EQ(Break("one\ntwo", 1000), (QStringList{"one", "two"}));
    EXPECT_EQ(Break("one\rtwo", 1000), (QStringList{"one", "two"}));
    EXPECT_EQ(Break("a\r\rb", 1000), (QStringList{"a", "", "b"}));
    EXPECT_EQ(Break("a\rb\nc", 1000), (QStringList{"a", "b", "c"}));
}

TEST(xStaticLines, NarrowerThanOneCharacterStillEnds) {
    EXPECT_EQ(Break("abc", 0), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(Break("a b", -10), (QStringList{"a", " ", "b"}));
}

TEST(xStaticLines, CentredFirstLineTruncatesTowardZero) {
    EXPECT_EQ(CxStatic::FirstLineTop(0, 40, 1, 15), 0);
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 40, 1, 15), 12);
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 20, 3, 15), -12);
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 20, 0, 15), 10);
}

// Rows and columns of the image that hold text-coloured pixels.
struct InkBox {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};
InkBox FindInk(const QImage& img, bool (*isInk)(COLORREF)) {
    InkBox box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (isInk(At(img, x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

CxStatic* MakeLabel(QWidget& parent, const QString& text, uint32_t style, int w, int h) {
    auto* label = new CxStatic(text, &parent, style);
    label->SetFont(ArialFont());
    label->SetBkColor(RGB(204, 255, 255));
    label->SetTextColor(RGB(255, 0, 0));
    label->setGeometry(0, 0, w, h);
    return label;
}

TEST(xStaticPaint, ColoursAlignmentAndCentring) {
    QWidget parent;
    CxStatic* left = MakeLabel(parent, "Hg", 0, 120, 60);
    QImage img = Grab(*left);
    EXPECT_EQ(At(img, 119, 59), RGB(204, 255, 255));
    InkBox ink = FindInk(img, IsReddish);
    ASSERT_GE(ink.right, 0);
    EXPECT_LT(ink.right, 40);
    EXPECT_LT(ink.top, 8);

    CxStatic* right = MakeLabel(parent, "Hg", SS_RIGHT, 120, 60);
    ink = FindInk(Grab(*right), IsReddish);
    EXPECT_GT(ink.left, 80);

    CxStatic* centre = MakeLabel(parent, "Hg", SS_CENTER | SS_CENTERIMAGE, 120, 60);
    ink = FindInk(Grab(*centre), IsReddish);
    EXPECT_GT(ink.left, 40);
    EXPECT_LT(ink.right, 80);
    const int nLineHeight = QFontMetrics(ArialFont(), centre).height();
    const int nTop = (60 - nLineHeight) / 2;
    EXPECT_GE(ink.top, nTop);
    EXPECT_LE(ink.bottom, nTop + nLineHeight);
    EXPECT_GT(ink.top, 15);

    // Five lines in a label two lines high: the first starts a line and a half above the top,
    // and text is cut at both edges.
    const QString five = "Hg\r\nHg\r\nHg\r\nHg\r\nHg";
    CxStatic* tall = MakeLabel(parent, five, SS_CENTERIMAGE, 120, nLineHeight * 2);
    ink = FindInk(Grab(*tall), IsReddish);
    EXPECT_EQ(ink.top, 0);
    EXPECT_EQ(ink.bottom, tall->height() - 1);
    CxStatic* topped = MakeLabel(parent, five, 0, 120, nLineHeight * 2);
    EXPECT_GT(FindInk(Grab(*topped), IsReddish).top, 0);
}

TEST(xStaticPaint, DisabledLooksTheSameAndEmptyIsBackgroundOnly) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "Status text", 0, 120, 20);
    const QImage enabled = Grab(*label);
    label->setEnabled(false);
    EXPECT_EQ(Grab(*label), enabled);

    label->SetWindowText(QString());
    const QImage empty = Grab(*label);
    EXPECT_EQ(Count(empty, 0, 0, empty.width(), empty.height(),
                    [](COLORREF c) { return c != RGB(204, 255, 255); }),
              0);
}

TEST(xStaticPaint, GradientBackgrounds) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "", 0, 100, 40);
    label->SetBkColor(RGB(255, 0, 0), RGB(0, 0, 255), 1);
    QImage img = Grab(*label);
    EXPECT_GT(GetRValue(At(img, 0, 20)), 240u);
    EXPECT_GT(GetBValue(At(img, 99, 20)), 240u);
    EXPECT_EQ(At(img, 50, 0), At(img, 50, 39));

    label->SetBkColor(RGB(255, 0, 0), RGB(0, 0, 255), 7);
    img = Grab(*label);
    EXPECT_GT(GetRValue(At(img, 50, 0)), 240u);
    EXPECT_GT(GetBValue(At(img, 50, 39)), 230u);
    EXPECT_EQ(At(img, 0, 20), At(img, 99, 20));

    label->SetBkColor(RGB(0, 200, 255));
    EXPECT_EQ(label->GradientMode(), 0);
    img = Grab(*label);
    EXPECT_EQ(At(img, 0, 0), RGB(0, 200, 255));
    EXPECT_EQ(At(img, 99, 39), RGB(0, 200, 255));
}

TEST(xStaticText, SetWindowTextLeavesTheWindowTextAlone) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "first", 0, 120, 20);
    CxStatic* shown = MakeLabel(parent, "second", 0, 120, 20);
    EXPECT_EQ(label->GetWindowText(), "first");

    label->SetWindowText("second");
    EXPECT_EQ(label->GetWindowText(), "first");
    EXPECT_EQ(label->Text(), "second");
    EXPECT_EQ(Grab(*label), Grab(*shown));

    label->SetText("third");
    EXPECT_EQ(label->GetWindowText(), "third");
    EXPECT_EQ(label->Text(), "third");
}

TEST(xStaticText, BoldCopyOfTheWidgetFont) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "Qelmeter", 0, 120, 20);
    label->setFont(ArialFont());
    const QImage plain = Grab(*label);
    const int nPlainInk = Count(plain, 0, 0, 120, 20, IsReddish);

    label->SetFontBold();
    const QFont bold = label->LabelFont();
    EXPECT_TRUE(bold.bold());
    EXPECT_FALSE(label->font().bold());
    label->SetFontBold();
    EXPECT_EQ(label->LabelFont(), bold);
    parent.show(); // polishing on show keeps the label's font
    EXPECT_EQ(label->LabelFont(), bold);
    EXPECT_GT(Count(Grab(*label), 0, 0, 120, 20, IsReddish), nPlainInk);

    // It starts from the widget's font, not from a font the label was given.
    QFont italic = ArialFont(20);
    italic.setItalic(true);
    label->SetFont(italic);
    label->SetFontBold();
    EXPECT_EQ(label->LabelFont(), bold);

    // A font given to the widget itself replaces the label's.
    label->setFont(ArialFont(20));
    EXPECT_EQ(label->LabelFont(), ArialFont(20));
}

QImage Pattern() {
    // Blue everywhere but the last column and row, which are red.
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    for (int i = 0; i < 3; ++i) {
        img.setPixelColor(2, i, Qt::red);
        img.setPixelColor(i, 2, Qt::red);
    }
    return img;
}

TEST(xStaticBitmap, StretchedWithoutTheLastColumnAndRow) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.File("pattern.bmp"));
    ASSERT_TRUE(WriteBmp(Pattern(), path));

    QWidget parent;
    CxStatic* label = MakeLabel(parent, "", 0, 30, 20);
    ASSERT_TRUE(label->LoadBitmapFile(path));
    EXPECT_EQ(label->size(), QSize(30, 20));
    const QImage img = Grab(*label);
    EXPECT_EQ(Count(img, 0, 0, 30, 20, [](COLORREF c) { return c != RGB(0, 0, 255); }), 0);

    // A file that is missing or no BMP changes nothing.
    EXPECT_FALSE(label->LoadBitmapFile(QString::fromStdString(dir.File("missing.bmp"))));
    const QString png = QString::fromStdString(dir.File("picture.bmp"));
    ASSERT_TRUE(Pattern().save(png, "PNG"));
    EXPECT_FALSE(label->LoadBitmapFile(png));
    EXPECT_TRUE(label->HasBitmap());
    EXPECT_EQ(Grab(*label), img);

    // One pixel leaves nothing to stretch: the background colour shows.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    label->SetBitmap(dot);
    EXPECT_EQ(At(Grab(*label), 15, 10), RGB(204, 255, 255));

    label->SetBitmap(QImage());
    EXPECT_FALSE(label->HasBitmap());
}

// A drag that enters the label and is let go over it. Qt delivers the drop only after an
// accepted enter, so the enter is part of the test.
void Drop(QWidget& target, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

TEST(xStaticDrop, OneBmpFileInAnyCaseBecomesTheBackground) {
    TempDir dir;
    const QString upper = QString::fromStdString(dir.File("PICTURE.BMP"));
    const QString lower = QString::fromStdString(dir.File("other.bmp"));
    const QString text = QString::fromStdString(dir.File("picture.txt"));
    const QString bare = QString::fromStdString(dir.File("picture"));
    std::filesystem::create_directory(dir.File("folder.bmp"));
    const QString inFolder = QString::fromStdString(dir.File("folder.bmp/picture"));
    for (const QString& path : {upper, lower, text, bare, inFolder})
        ASSERT_TRUE(WriteBmp(Pattern(), path)) << path.toStdString();

    QWidget parent;
    CxStatic* label = MakeLabel(parent, "", 0, 30, 20);
    parent.show();
    EXPECT_TRUE(label->acceptDrops());

    Drop(*label, {QUrl::fromLocalFile(upper), QUrl::fromLocalFile(lower)});
    Drop(*label, {QUrl::fromLocalFile(text)});
    Drop(*label, {QUrl::fromLocalFile(bare)});
    Drop(*label, {QUrl::fromLocalFile(inFolder)});
    Drop(*label, {QUrl("https://example.org/picture.bmp")});
    EXPECT_FALSE(label->HasBitmap());

    Drop(*label, {QUrl::fromLocalFile(upper)});
    EXPECT_TRUE(label->HasBitmap());
    EXPECT_EQ(label->BitmapFileName(), upper);
    EXPECT_EQ(At(Grab(*label), 29, 19), RGB(0, 0, 255));
}

} // namespace
