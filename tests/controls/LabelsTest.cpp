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

constexpr COLORREF kBk = RGB(204, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255),
                   kCyan = RGB(0, 200, 255), kWhite = RGB(255, 255, 255);

TEST(xStaticLines, BreakRules) {
    const QFontMetrics fm(ArialFont());
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
        // A word longer than the line is broken between characters.
        {"aaaaaaaaaa", "aaaa", 0, {"aaaa", "aaaa", "aa"}},
        // Every CR LF or LF CR pair is one break, a lone CR or LF another.
        {"one\n\rtwo", "", 1000, {"one", "two"}},
        {"one\r\n\r\ntwo", "", 1000, {"one", "", "two"}},
        {"one\r\n", "", 1000, {"one"}},
        {"a\r\rb", "", 1000, {"a", "", "b"}},
        {"a\rb\nc", "", 1000, {"a", "b", "c"}},
        // Narrower than one character it still ends.
        {"abc", "", 0, {"a", "b", "c"}},
        {"a b", "", -10, {"a", " ", "b"}},
    };
    for (const auto& c : cases) {
        const int nWidth = c.fit.isEmpty() ? c.nWidth : fm.horizontalAdvance(c.fit) + 1;
        EXPECT_EQ(CxStatic::BreakLines(c.text, nWidth, fm), c.lines) << c.text.toStdString();
    }
    // A centred first line truncates toward zero.
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

QRect InkOf(QWidget& parent, const QString& text, uint32_t style, int w, int h) {
    return InkBox(Grab(*MakeLabel(parent, text, style, w, h)));
}

TEST(xStaticPaint, AlignmentCentringAndClipping) {
    QWidget parent;
    const QRect left = InkOf(parent, "Hg", 0, 120, 60);
    EXPECT_TRUE(!left.isNull() && left.right() < 40 && left.top() < 8);
    EXPECT_GT(InkOf(parent, "Hg", SS_RIGHT, 120, 60).left(), 80);
    const QRect centred = InkOf(parent, "Hg", SS_CENTER | SS_CENTERIMAGE, 120, 60);
    const int nLine = QFontMetrics(ArialFont()).height(), nTop = (60 - nLine) / 2;
    EXPECT_TRUE(centred.left() > 40 && centred.right() < 80) << centred.left();
    EXPECT_TRUE(centred.top() >= nTop && centred.bottom() <= nTop + nLine && centred.top() > 15);
    // Five lines centred in a label two lines high start a line and a half above the top:
    // text is cut at both edges.
    const QString five = "Hg\r\nHg\r\nHg\r\nHg\r\nHg";
    const QRect tall = InkOf(parent, five, SS_CENTERIMAGE, 120, nLine * 2);
    EXPECT_TRUE(tall.top() == 0 && tall.bottom() == nLine * 2 - 1) << tall.top();
    EXPECT_GT(InkOf(parent, five, 0, 120, nLine * 2).top(), 0);
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
}

TEST(xStaticText, SetWindowTextShowsButKeepsTheWindowTextAndBoldCopiesTheWidgetFont) {
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "first", 0, 120, 20);
    label->SetWindowText("second");
    EXPECT_EQ(label->GetWindowText(), "first");
    EXPECT_EQ(Grab(*label), Grab(*MakeLabel(parent, "second", 0, 120, 20)));
    label->SetText("third");
    EXPECT_TRUE(label->GetWindowText() == "third" && label->Text() == "third");

    label->setFont(ArialFont());
    const int nPlainInk = Count(Grab(*label), IsReddish);
    label->SetFontBold();
    const QFont bold = label->LabelFont();
    EXPECT_TRUE(bold.bold() && !label->font().bold());
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
    for (const auto& c : cases) {
        std::vector<qsizetype> highlighted;
        for (qsizetype i = -1; i <= c.text.size(); ++i) // the ends out of range as well
            if (CClrStatic::IsHighlighted(c.text, i, c.chars))
                highlighted.push_back(i);
        EXPECT_EQ(highlighted, c.highlighted) << c.text.toStdString();
    }
}

CClrStatic* MakeClr(QWidget& parent, const QString& text, const QString& chars) {
    parent.setFont(ArialFont(13));
    auto* label = new CClrStatic(text, &parent);
    label->SetColors(chars, kRed, RGB(0, 0, 0), kCyan);
    label->setGeometry(0, 0, 300, 24);
    return label;
}

TEST(ClrStaticPaint, CellByCellOpaqueAndTheSameWhenDisabled) {
    QWidget parent;
    SetWindowColor(parent, kWhite);
    CClrStatic* label = MakeClr(parent, kQelmeter, "abcd");
    label->SetFontBold();
    EXPECT_TRUE(label->font().bold());
    const QImage img = Grab(*label);
    const QFontMetrics fm(label->font(), label);
    int x = 0;
    for (int i = 0; i < kQelmeter.size(); x += fm.horizontalAdvance(kQelmeter[i]), ++i) {
        const int right = x + fm.horizontalAdvance(kQelmeter[i]);
        EXPECT_EQ(Count(img, Is(kWhite), x, 0, right, fm.height()), 0) << i;
        if (kQelmeter[i] == ' ')
            continue;
        const bool bHigh = CClrStatic::IsHighlighted(kQelmeter, i, "abcd");
        EXPECT_EQ(Count(img, IsReddish, x, 0, right, fm.height()) > 0, bHigh) << i;
        EXPECT_EQ(Count(img, IsDark, x, 0, right, fm.height()) > 0, !bHigh) << i;
    }
    // Nothing right of the text nor below the line is painted by the label.
    EXPECT_TRUE(At(img, x + 2, 5) == kWhite && At(img, 2, fm.height() + 1) == kWhite);
    label->setEnabled(false);
    EXPECT_EQ(Grab(*label), img);
    // Control characters take no cell; others, like "é" here, their own width.
    EXPECT_EQ(Grab(*MakeClr(parent, "a\tb", "ab")), Grab(*MakeClr(parent, "ab", "ab")));
    CClrStatic* accented = MakeClr(parent, QString::fromUtf8("aé"), "a");
    const QFontMetrics plain(accented->font(), accented);
    const int nA = plain.horizontalAdvance('a');
    EXPECT_GT(Count(Grab(*accented), IsReddish, 0, 0, nA, 20), 3);
    EXPECT_GT(Count(Grab(*accented), IsDark, nA, 0, nA + plain.horizontalAdvance(QChar(0xE9)), 20),
              3);
}

TEST(BMPStatic, FitsItselfToTheBitmapOnLoadOnlyAndAFailedLoadPaintsNothing) {
    TempDir dir;
    const QString path = SavePattern(dir, "marker.bmp", "BMP");
    TempDir::Write(dir.File("broken.bmp"), "BM not really");
    QWidget parent;
    SetWindowColor(parent, kCyan);
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
        EXPECT_EQ(Count(Grab(*marker), Is(kCyan)), 3 * 3); // the size of the last load
    }
}

} // namespace
