// Draws every control of the controls library in the main window's colours and writes the
// picture to a PNG file: qel-gallery out.png (run with QT_QPA_PLATFORM=offscreen headless).
#include "controls/BMPStatic.h"
#include "controls/ClrStatic.h"
#include "controls/FloatEdit.h"
#include "controls/xStatic.h"
#include "platform/RuntimeDir.h"
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>

namespace {

constexpr COLORREF kWindow = RGB(0, 200, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

CClrStatic* Equation(QWidget* parent, const QString& text, int y) {
    auto* label = new CClrStatic(text, parent);
    label->SetColors("abcdefgEGUI", kRed, kBlack, kWindow);
    label->setGeometry(20, y, 200, 16);
    return label;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qel-gallery OUTPUT.png\n");
        return 2;
    }
    platform::EnsureRuntimeDir();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    QWidget window;
    window.resize(460, 300);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(PixelFromColorRef(kWindow)));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    QFont font = window.font();
    font.setPointSize(9);
    window.setFont(font);

    const char* names[] = {"a", "b", "c", "d", "e", "f", "g"};
    for (int i = 0; i < 7; ++i) {
        auto* name = new CxStatic(names[i], &window);
        name->SetTextColor(kRed);
        name->SetBkColor(kWindow);
        name->setGeometry(20 + 16 * i, 10, 10, 16);
    }
    const char* axes[] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
        auto* name = new CxStatic(axes[i], &window);
        name->SetTextColor(RGB(0, 0, 255));
        name->SetBkColor(kWindow);
        name->setGeometry(150 + 20 * i, 10, 12, 16);
    }

    auto* caption = new CClrStatic("[ad - bc]   -   The Qelmeter", &window);
    caption->SetColors("abcd", kRed, kBlack, kWindow);
    caption->SetFontBold();
    caption->setGeometry(20, 36, 240, 18);

    auto* qelmeter = new CxStatic("-12.345", &window);
    qelmeter->SetTextColor(RGB(255, 255, 255));
    qelmeter->SetBkColor(kWindow);
    qelmeter->SetFontBold();
    qelmeter->setGeometry(270, 36, 60, 18);

    Equation(&window, "x' = c(y - x)", 64);
    Equation(&window, "y' = ax - xz - y", 82);
    Equation(&window, "z' = (x + y) / 5 + e", 100);

    auto* value = new CFloatEdit(&window);
    value->setText("12.5");
    value->setMaxLength(10);
    value->setGeometry(20, 126, 80, 22);
    auto* iteration = new CFloatEdit(&window, true);
    iteration->setText("100000");
    iteration->setGeometry(110, 126, 80, 22);

    auto* plain = new QLabel("Plain label", &window);
    plain->setGeometry(200, 126, 100, 22);

    auto* wrapped = new CxStatic("A longer label text that breaks into lines at its spaces",
                                 &window, SS_CENTER | SS_CENTERIMAGE);
    wrapped->SetTextColor(kBlack);
    wrapped->SetBkColor(RGB(255, 255, 204));
    wrapped->setGeometry(20, 158, 150, 56);

    auto* gradient = new CxStatic("Gradient", &window, SS_CENTER | SS_CENTERIMAGE);
    gradient->SetTextColor(RGB(255, 255, 255));
    gradient->SetBkColor(RGB(0, 0, 128), kWindow, 1);
    gradient->setGeometry(180, 158, 120, 26);
    auto* vertical = new CxStatic("Vertical", &window, SS_RIGHT);
    vertical->SetBkColor(RGB(255, 255, 255), RGB(0, 120, 0), 2);
    vertical->setGeometry(180, 188, 120, 26);

    // The marker and a bitmap background, from a small picture written for the occasion.
    QTemporaryDir dir;
    QImage picture(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            picture.setPixelColor(x, y, (x + y) % 2 ? Qt::yellow : Qt::darkMagenta);
    const QString bmp = dir.filePath("picture.bmp");
    picture.save(bmp, "BMP");
    auto* marker = new CBMPStatic(&window);
    marker->move(320, 10);
    marker->LoadBitmapFile(bmp);
    auto* backed = new CxStatic("On a bitmap", &window, SS_CENTER | SS_CENTERIMAGE);
    backed->SetTextColor(RGB(255, 255, 255));
    backed->LoadBitmapFile(bmp);
    backed->setGeometry(320, 158, 120, 56);

    auto* status = new CxStatic("Preparing bitmaps, please wait....", &window);
    status->SetBkColor(RGB(204, 255, 255));
    status->SetTextColor(kRed);
    status->setGeometry(0, 280, 460, 14);

    window.show();
    app.processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "qel-gallery: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
