#include "controls/ClrStatic.h"
#include "ControlsTestUtil.h"
#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

// The indexes of the characters drawn in the highlight colour.
std::vector<qsizetype> Highlighted(const QString& text, const QString& chars) {
    std::vector<qsizetype> result;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (CClrStatic::IsHighlighted(text, i, chars))
            result.push_back(i);
    return result;
}

const QString kQelmeter = "[ad - bc]   -   The Qelmeter";
const QString kEquationChars = "abcdefgEGUI";

TEST(ClrStaticRule, ParameterLettersStandingAloneOrBeforeVariables) {
    EXPECT_EQ(Highlighted(kQelmeter, "abcd"), (std::vector<qsizetype>{1, 2, 6, 7}));
    // "cos" and "sin" stay plain; "ax" and "b(" are parameters.
    const QString eqx = "x' = cos(z) ax - sin(z) b(y - x^2)";
    EXPECT_EQ(Highlighted(eqx, kEquationChars),
              (std::vector<qsizetype>{eqx.indexOf("ax"), eqx.indexOf("b(")}));
    const QString eqz = "P' = atan((1 - f) M Q / (1 - g)) + e P";
    EXPECT_EQ(Highlighted(eqz, kEquationChars),
              (std::vector<qsizetype>{eqz.indexOf("f)"), eqz.indexOf("g)"), eqz.indexOf("e P")}));
}

TEST(ClrStaticRule, HighlightLetterEndingTheTextIsNormal) {
    const QString eq = "z' = (x + y) / 5 + e";
    EXPECT_TRUE(Highlighted(eq, kEquationChars).empty());
    EXPECT_EQ(Highlighted("e e", kEquationChars), std::vector<qsizetype>{0});
    EXPECT_FALSE(CClrStatic::IsHighlighted(eq, eq.size(), kEquationChars));
    EXPECT_FALSE(CClrStatic::IsHighlighted(eq, -1, kEquationChars));
}

struct Cell {
    int left, right;
};

// Character cells of text as the label lays them out.
std::vector<Cell> Cells(const QString& text, const QWidget& w) {
    const QFontMetrics fm(w.font(), &w);
    std::vector<Cell> cells;
    int x = 0;
    for (QChar c : text) {
        const int nAdvance = fm.horizontalAdvance(c);
        cells.push_back({x, x + nAdvance});
        x += nAdvance;
    }
    return cells;
}

class ClrStaticPaint : public ::testing::Test {
protected:
    ClrStaticPaint() {
        QPalette pal = m_parent.palette();
        pal.setColor(QPalette::Window, Qt::white);
        m_parent.setPalette(pal);
        m_parent.setFont(ArialFont(13));
    }
    CClrStatic* Make(const QString& text, const QString& chars) {
        auto* label = new CClrStatic(text, &m_parent);
        label->SetColors(chars, RGB(255, 0, 0), RGB(0, 0, 0), RGB(0, 200, 255));
        label->setGeometry(0, 0, 300, 24);
        return label;
    }
    QWidget m_parent;
};

TEST_F(ClrStaticPaint, QelmeterCaptionCellByCell) {
    CClrStatic* label = Make(kQelmeter, "abcd");
    label->SetFontBold();
    EXPECT_TRUE(label->font().bold());
    label->SetFontBold();
    EXPECT_TRUE(label->font().bold());

    const QImage img = Grab(*label);
    const int nHeight = QFontMetrics(label->font(), label).height();
    const std::vector<Cell> cells = Cells(kQelmeter, *label);
    for (int i = 0; i < kQelmeter.size(); ++i) {
        const Cell& cell = cells[i];
        const int nRed = Count(img, cell.left, 0, cell.right, nHeight, IsReddish);
        const int nBlack = Count(img, cell.left, 0, cell.right, nHeight, IsDark);
        const int nWhite = Count(img, cell.left, 0, cell.right, nHeight,
                                 [](COLORREF c) { return c == RGB(255, 255, 255); });
        EXPECT_EQ(nWhite, 0) << "cell " << i << " is not painted opaque";
        if (kQelmeter[i] == ' ')
            continue;
        if (CClrStatic::IsHighlighted(kQelmeter, i, "abcd")) {
            EXPECT_GT(nRed, 0) << i;
            EXPECT_EQ(nBlack, 0) << i;
        } else {
            EXPECT_EQ(nRed, 0) << i;
            EXPECT_GT(nBlack, 0) << i;
        }
    }
    // Nothing right of the text nor below the line is painted by the label.
    const int nEnd = cells.back().right;
    EXPECT_EQ(At(img, nEnd + 2, 5), RGB(255, 255, 255));
    EXPECT_EQ(At(img, 2, nHeight + 1), RGB(255, 255, 255));
}

TEST_F(ClrStaticPaint, DisabledLooksTheSame) {
    CClrStatic* label = Make("x' = c(y - x)", kEquationChars);
    const QImage enabled = Grab(*label);
    label->setEnabled(false);
    EXPECT_EQ(Grab(*label), enabled);
    EXPECT_GT(Count(enabled, 0, 0, 300, 24, IsReddish), 3);
}

TEST_F(ClrStaticPaint, ControlCharactersTakeNoCellOthersTheirOwnWidth) {
    // Both "a"s are followed by something that highlights them, so only the tab differs.
    EXPECT_EQ(Grab(*Make("a\tb", "ab")), Grab(*Make("ab", "ab")));

    CClrStatic* accented = Make(QString::fromUtf8("aé"), "a");
    const QImage img = Grab(*accented);
    const std::vector<Cell> cells = Cells(QString::fromUtf8("aé"), *accented);
    EXPECT_GT(Count(img, cells[1].left, 0, cells[1].right, 20, IsDark), 3);
    EXPECT_GT(Count(img, cells[0].left, 0, cells[0].right, 20, IsReddish), 3);
}

} // namespace
