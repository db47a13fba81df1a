#include "ControlsTestUtil.h"
#include "controls/BMPStatic.h"
#include "controls/ClrStatic.h"
#include "controls/xStatic.h"
#include <QApplication>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

constexpr COLORREF kBk = RGB(204, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

int Advance(const QString& text) {
    return QFontMetrics(ArialFont()).horizontalAdvance(text);
}

TEST(xStaticLines, BreakRules) {
    // The width is that of fit plus one pixel, or nWidth when fit is empty.
    const struct {
        QString text, fit;
        int nWidth;
        QStringList lines;
    } cases[] = {
        {"hello world", "", 1000, {"hello world"}},
        {"", "", 100, {}},
        // At the last space that fits; an overflowing line keeps its trailing space.
        {"aa aa aaaaa", "aa aa aa", 0, {"aa aa", "aaaaa"}},
        {"aaaa aaaa aaaa", "aaaa aa", 0, {"aaaa", "aaaa", "aaaa"}},
        {"aaa bbb", "aaa ", 0, {"aaa ", "bbb"}},
        // Every CR LF or LF CR pair is one break, a lone CR or LF another.
        {"one\r\ntwo\r\nthree", "", 1000, {"one", "two", "three"}},
        {"one\n\rtwo", "", 1000, {"one", "two"}},
        {"one\r\n\r\ntwo", "", 1000, {"one", "", "two"}},
        {"one\r\n", "", 1000, {"one"}},
        {"a\r\rb", "", 1000, {"a", "", "b"}},
        {"a\rb\nc", "", 1000, {"a", "b", "c"}},
        {"aa aa aaaaa\r\nb", "aa aa aa", 0, {"aa aa", "aaaaa", "b"}},
        // Narrower than one character it still ends.
        {"abc", "", 0, {"a", "b", "c"}},
        {"a b", "", -10, {"a", " ", "b"}},
    };
    for (const auto& c : cases) {
        const int nWidth = c.fit.isEmpty() ? c.nWidth : Advance(c.fit) + 1;
        EXPECT_EQ(CxStatic::BreakLines(c.text, nWidth, QFontMetrics(ArialFont())), c.lines)
            << c.text.toStdString();
    }
    // A long word is broken between characters.
    const QString word = "abcdefghijklmnop";
    const QStringList lines =
        CxStatic::BreakLines(word, Advance("abcd") + 1, QFontMetrics(ArialFont()));
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines.front(), "abcd");
    EXPECT_EQ(lines.join(QString()), word);
    for (const QString& line : lines)
        EXPECT_LE(Advance(line), Advance("abcd") + 1) << line.toStdString();

    // A centred first line truncates toward zero.
    EXPECT_EQ(CxStatic::FirstLineTop(0, 40, 1, 15), 0);
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 40, 1, 15), 12);
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 20, 3, 15), -12);
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 20, 0, 15), 10);
}

// The bounding box of the red ink.
QRect InkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (IsReddish(At(img, x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

CxStatic* MakeLabel(QWidget& parent, const QString& text, uint32_t style, int w, int h) {
    auto* label = new CxStatic(text, &parent, style);
    label->SetFont(ArialFont());
    label->SetBkColor(kBk);
    label->SetTextColor(kRed);
    label->setGeometry(0, 0, w, h);
    return label;
}

TEST(xStaticPaint, AlignmentCentringAndClipping) {
    QWidget parent;
    const QImage img = Grab(*MakeLabel(parent, "Hg", 0, 120, 60));
    EXPECT_EQ(At(img, 119, 59), kBk);
    ASSERT_FALSE(InkBox(img).isNull());
    EXPECT_TRUE(InkBox(img).right() < 40 && InkBox(img).top() < 8);
    EXPECT_GT(InkBox(Grab(*MakeLabel(parent, "Hg", SS_RIGHT, 120, 60))).left(), 80);

    const QRect centred =
        InkBox(Grab(*MakeLabel(parent, "Hg", SS_CENTER | SS_CENTERIMAGE, 120, 60)));
    const int nLineHeight = QFontMetrics(ArialFont()).height();
    const int nTop = (60 - nLineHeight) / 2;
    EXPECT_TRUE(centred.left() > 40 && centred.right() < 80) << centred.left();
    EXPECT_TRUE(centred.top() >= nTop && centred.bottom() <= nTop + nLineHeight &&
                centred.top() > 15);

    // Five lines centred in a label two lines high start a line and a half above the top:
    // text is cut at both edges.
    const QString five = "Hg\r\nHg\r\nHg\r\nHg\r\nHg";
    const QRect tall = InkBox(Grab(*MakeLabel(parent, five, SS_CENTERIMAGE, 120, nLineHeight * 2)));
    EXPECT_EQ(tall.top(), 0);
    EXPECT_EQ(tall.bottom(), nLineHeight * 2 - 1);
    EXPECT_GT(InkBox(Grab(*MakeLabel(parent, five, 0, 120, nLineHeight * 2))).top(), 0);
}

TEST(xStaticPaint, DisabledEmptyAndGradients) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "Status text", 0, 100, 40);
    const QImage enabled = Grab(*label);
    label->setEnabled(false);
    EXPECT_EQ(Grab(*label), enabled);
    label->SetWindowText(QString());
    EXPECT_EQ(Count(Grab(*label), Is(kBk)), 100 * 40);

    label->SetBkColor(kRed, kBlue, 1); // left to right
    QImage img = Grab(*label);
    EXPECT_TRUE(GetRValue(At(img, 0, 20)) > 240 && GetBValue(At(img, 99, 20)) > 240);
    EXPECT_EQ(At(img, 50, 0), At(img, 50, 39));
    label->SetBkColor(kRed, kBlue, 7); // top to bottom
    img = Grab(*label);
    EXPECT_TRUE(GetRValue(At(img, 50, 0)) > 240 && GetBValue(At(img, 50, 39)) > 230);
    EXPECT_EQ(At(img, 0, 20), At(img, 99, 20));
    label->SetBkColor(RGB(0, 200, 255));
    EXPECT_EQ(Count(Grab(*label), Is(RGB(0, 200, 255))), 100 * 40);
}

TEST(xStaticText, SetWindowTextShowsButKeepsTheWindowText) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "first", 0, 120, 20);
    label->SetWindowText("second");
    EXPECT_EQ(label->GetWindowText(), "first");
    EXPECT_EQ(Grab(*label), Grab(*MakeLabel(parent, "second", 0, 120, 20)));
    label->SetText("third");
    EXPECT_EQ(label->GetWindowText(), "third");
    EXPECT_EQ(label->Text(), "third");
}

TEST(xStaticText, BoldCopyOfTheWidgetFont) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "Qelmeter", 0, 120, 20);
    label->setFont(ArialFont());
    const int nPlainInk = Count(Grab(*label), IsReddish);
    label->SetFontBold();
    const QFont bold = label->LabelFont();
    EXPECT_TRUE(bold.bold());
    EXPECT_FALSE(label->font().bold());
    parent.show(); // polishing on show keeps the label's font
    EXPECT_EQ(label->LabelFont(), bold);
    EXPECT_GT(Count(Grab(*label), IsReddish), nPlainInk);
    // It starts from the widget's font, not from a font the label was given...
    QFont italic = ArialFont(20);
    italic.setItalic(true);
    label->SetFont(italic);
    label->SetFontBold();
    EXPECT_EQ(label->LabelFont(), bold);
    // ...and a font given to the widget itself replaces the label's.
    label->setFont(ArialFont(20));
    EXPECT_EQ(label->LabelFont(), ArialFont(20));
}

TEST(xStaticBitmap, StretchedWithoutTheLastColumnAndRowAndKeptOnAFailedLoad) {
    TempDir dir;
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "", 0, 30, 20);
    ASSERT_TRUE(label->LoadBitmapFile(SavePattern(dir, "pattern.bmp", "BMP")));
    EXPECT_EQ(label->size(), QSize(30, 20));
    const QImage img = Grab(*label);
    EXPECT_EQ(Count(img, Is(kBlue)), 30 * 20);
    EXPECT_FALSE(label->LoadBitmapFile(QString::fromStdString(dir.File("missing.bmp"))));
    EXPECT_FALSE(label->LoadBitmapFile(SavePattern(dir, "png.bmp", "PNG")));
    EXPECT_EQ(Grab(*label), img);
    // One pixel leaves nothing to stretch: the background colour shows.
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    label->SetBitmap(dot);
    EXPECT_EQ(At(Grab(*label), 15, 10), kBk);
}

// Qt delivers a drop only after an accepted enter, so the enter is part of the test.
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
    std::filesystem::create_directory(dir.File("folder.bmp"));
    QList<QUrl> urls;
    for (const char* name : {"PICTURE.BMP", "other.bmp", "picture.txt", "picture", "folder.bmp/p"})
        urls.push_back(QUrl::fromLocalFile(SavePattern(dir, name, "BMP")));
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "", 0, 30, 20);
    parent.show();
    EXPECT_TRUE(label->acceptDrops());
    // Two files, no .bmp ending, a .bmp folder, a remote address: all ignored.
    for (const QList<QUrl>& ignored :
         {urls.mid(0, 2), urls.mid(2, 1), urls.mid(3, 1), urls.mid(4, 1),
          QList<QUrl>{QUrl("https://example.org/picture.bmp")}})
        Drop(*label, ignored);
    EXPECT_FALSE(label->HasBitmap());
    Drop(*label, {urls[0]});
    EXPECT_EQ(label->BitmapFileName(), urls[0].toLocalFile());
    EXPECT_EQ(At(Grab(*label), 29, 19), kBlue);
}

// The indexes of the characters drawn in the highlight colour.
std::vector<qsizetype> Highlighted(const QString& text, const QString& chars) {
    std::vector<qsizetype> result;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (CClrStatic::IsHighlighted(text, i, chars))
            result.push_back(i);
    return result;
}

const QString kQelmeter = "[ad - bc]   -   The Qelmeter";

TEST(ClrStaticRule, LettersStandingAloneOrBeforeVariablesButNotEndingTheText) {
    const struct {
        QString text, chars;
        std::vector<qsizetype> highlighted;
    } cases[] = {
        {kQelmeter, "abcd", {1, 2, 6, 7}},
        // "cos" and "sin" stay plain; "ax" and "b(" are parameters.
        {"x' = cos(z) ax - sin(z) b(y - x^2)", "abcdefgEGUI", {12, 24}},
        {"P' = atan((1 - f) M Q / (1 - g)) + e P", "abcdefgEGUI", {15, 29, 35}},
        {"z' = (x + y) / 5 + e", "abcdefgEGUI", {}},
        {"e e", "abcdefgEGUI", {0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Highlighted(c.text, c.chars), c.highlighted) << c.text.toStdString();
    EXPECT_FALSE(CClrStatic::IsHighlighted("a b", 3, "ab"));
    EXPECT_FALSE(CClrStatic::IsHighlighted("a b", -1, "ab"));
}

CClrStatic* MakeClr(QWidget& parent, const QString& text, const QString& chars) {
    parent.setFont(ArialFont(13));
    auto* label = new CClrStatic(text, &parent);
    label->SetColors(chars, kRed, RGB(0, 0, 0), RGB(0, 200, 255));
    label->setGeometry(0, 0, 300, 24);
    return label;
}

TEST(ClrStaticPaint, CellByCellOpaqueAndTheSameWhenDisabled) {
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::white);
    parent.setPalette(pal);
    CClrStatic* label = MakeClr(parent, kQelmeter, "abcd");
    label->SetFontBold();
    EXPECT_TRUE(label->font().bold());
    const QImage img = Grab(*label);
    const QFontMetrics fm(label->font(), label);
    int x = 0;
    for (int i = 0; i < kQelmeter.size(); x += fm.horizontalAdvance(kQelmeter[i]), ++i) {
        const int right = x + fm.horizontalAdvance(kQelmeter[i]);
        EXPECT_EQ(Count(img, Is(RGB(255, 255, 255)), x, 0, right, fm.height()), 0) << i;
        if (kQelmeter[i] == ' ')
            continue;
        const bool bHigh = CClrStatic::IsHighlighted(kQelmeter, i, "abcd");
        EXPECT_EQ(Count(img, IsReddish, x, 0, right, fm.height()) > 0, bHigh) << i;
        EXPECT_EQ(Count(img, IsDark, x, 0, right, fm.height()) > 0, !bHigh) << i;
    }
    // Nothing right of the text nor below the line is painted by the label.
    EXPECT_EQ(At(img, x + 2, 5), RGB(255, 255, 255));
    EXPECT_EQ(At(img, 2, fm.height() + 1), RGB(255, 255, 255));
    label->setEnabled(false);
    EXPECT_EQ(Grab(*label), img);
}

TEST(ClrStaticPaint, ControlCharactersTakeNoCellOthersTheirOwnWidth) {
    QWidget parent;
    // Both "a"s are followed by something that highlights them, so only the tab differs.
    EXPECT_EQ(Grab(*MakeClr(parent, "a\tb", "ab")), Grab(*MakeClr(parent, "ab", "ab")));
    CClrStatic* accented = MakeClr(parent, QString::fromUtf8("aé"), "a");
    const QImage img = Grab(*accented);
    const QFontMetrics fm(accented->font(), accented);
    const int nA = fm.horizontalAdvance('a');
    EXPECT_GT(Count(img, IsReddish, 0, 0, nA, 20), 3);
    EXPECT_GT(Count(img, IsDark, nA, 0, nA + fm.horizontalAdvance(QChar(0xE9)), 20), 3);
}

TEST(BMPStatic, FitsItselfToTheBitmapOnLoadOnlyAndAFailedLoadPaintsNothing) {
    TempDir dir;
    const QString path = SavePattern(dir, "marker.bmp", "BMP");
    TempDir::Write(dir.File("broken.bmp"), "BM not really");
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0, 200, 255));
    parent.setPalette(pal);
    auto* marker = new CBMPStatic(&parent);
    marker->setGeometry(10, 10, 5, 5);
    ASSERT_TRUE(marker->LoadBitmapFile(path));
    EXPECT_EQ(marker->geometry(), QRect(10, 10, 3, 3));
    EXPECT_EQ(Grab(*marker), QImage(path).convertToFormat(QImage::Format_RGB32));
    // Painting stretches the bitmap over a later size and does not fit again.
    marker->resize(30, 30);
    const QImage big = Grab(*marker);
    EXPECT_EQ(marker->size(), QSize(30, 30));
    EXPECT_TRUE(At(big, 0, 0) == kBlue && At(big, 29, 29) == kRed && At(big, 29, 0) == kRed);

    for (const QString& bad :
         {QString::fromStdString(dir.File("missing.bmp")), SavePattern(dir, "fake.bmp", "PNG"),
          QString::fromStdString(dir.File("broken.bmp"))}) {
        ASSERT_TRUE(marker->LoadBitmapFile(path));
        EXPECT_FALSE(marker->LoadBitmapFile(bad)) << bad.toStdString();
        EXPECT_FALSE(marker->HasBitmap());
        EXPECT_EQ(Count(Grab(*marker), Is(RGB(0, 200, 255))), 3 * 3); // the size of the last load
    }
}

} // namespace
