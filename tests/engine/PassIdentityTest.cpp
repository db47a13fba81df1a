#include "../support/TempDir.h"
#include "engine/PlotSurface.h"
#include "engine/PointList.h"
#include "model/Attractor.h"

#include <QImage>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Every picture, point list, message and trace line of the plot pass, against hashes recorded
// from an earlier build. The settings are a frozen copy of the shipped file, so that tuning the
// shipped defaults does not move these; the axis names are left out, so no font is involved.
namespace {

uint64_t Fnv(const void* data, std::size_t n, uint64_t h = 0xcbf29ce484222325ull) {
    for (const unsigned char* p = static_cast<const unsigned char*>(data); n--; ++p)
        h = (h ^ *p) * 0x100000001b3ull;
    return h;
}
uint64_t Hash(const QImage& img) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (int y = 0; y < img.height(); ++y)
        h = Fnv(img.constScanLine(y), std::size_t(img.width()) * 4, h);
    return h;
}

// Writes down everything the canvas tells its window, in order.
class CLogHost : public CPlotHost {
public:
    int ClientWidth() const override { return 591; }
    int ClientHeight() const override { return 515; }
    void CopyToScreen(const QImage& picture) override {
        m_strLog += "C" + std::to_string(Hash(picture));
    }
    void SendPlotMessage(unsigned m, uintptr_t, intptr_t) override {
        m_strLog += "S" + std::to_string(m);
    }
    void PostPlotMessage(unsigned m, uintptr_t, intptr_t) override {
        m_strLog += "P" + std::to_string(m);
    }
    std::string m_strLog;
};

struct Golden {
    const char* what;
    uint64_t run[4], accumulated[4], single[4], animation[4], points[4], log;
};

// Rows 0 to 5 are the six kinds as shipped; then two that leave the picture.
const Golden kGolden[] = {
    {"Henon",
     {0x57ab9b6a1cf106ddull, 0x07928571742d4b81ull, 0x636551f059799139ull, 0xc296431cd890adc2ull},
     {0xc5fe29b344813ea7ull, 0xaad7dfd1edab03edull, 0x092a43463d7330e1ull, 0x1c0ebab268697152ull},
     {0x57ab9b6a1cf106ddull, 0x07928571742d4b81ull, 0x636551f059799139ull, 0xc296431cd890adc2ull},
     {0xffadcd91f9f06aedull, 0x989f6e040cc2fbbaull, 0x224bfa58e703f6cdull, 0x18a15ad696dbd947ull},
     {0x5d8761eae0a7af4full, 0xc567d15b0480fe8cull, 0x2a0a79cc3b6b11d8ull, 0x1ae3abd5382b0b9aull},
     0x9d626942428ca528ull},
    {"Ikeda",
     {0xef892305862f7a00ull, 0xdc2945c808689542ull, 0xfe77d17472dde442ull, 0xfc09430ba0721601ull},
     {0x462b589434f160d1ull, 0xa3dcdb623052a5ecull, 0x01be2e1aefe7593cull, 0x794d38c215d2796full},
     {0xef892305862f7a00ull, 0xdc2945c808689542ull, 0xfe77d17472dde442ull, 0xfc09430ba0721601ull},
     {0xc1751ae8a5a09305ull, 0xf49f0187a4a12e68ull, 0xa2c4c96ca04db81full, 0x1290c98b4b6d567eull},
     {0x5323da890eade57cull, 0x793df209519373f7ull, 0x2a10dffc984b96cdull, 0x64054ab69b996101ull},
     0x8280f71952be959aull},
    {"Lorenz",
     {0x8c3eab1fed137bfeull, 0xf541542f9435037eull, 0x4d8c7b4a94ee468cull, 0x734333b5e6a65e22ull},
     {0x9378805c7429c5e2ull, 0x03d01b8911bdf648ull, 0xda058e8e86181e24ull, 0xf890d06e5fce0ba7ull},
     {0x8c3eab1fed137bfeull, 0xf541542f9435037eull, 0x4d8c7b4a94ee468cull, 0x734333b5e6a65e22ull},
     {0xcba1ebd1c17f0bb4ull, 0xc5b4cc4f7849a132ull, 0x8583b5fcbbab5a9bull, 0x7a1dec96c48b18c3ull},
     {0xbddaf727e22effb5ull, 0x97ec1da4dd3423aeull, 0x3780b5038fcac1a9ull, 0xf5f2105db1649a49ull},
     0xc7ac12fe12334455ull},
    {"Pickover",
     {0xfaf3efbba3bc7bf7ull, 0xe2c98fbf02409037ull, 0xb0d37644e9f6f8f2ull, 0xe4579f3e1c688690ull},
     {0x56a9cd280798badeull, 0x7126b9bfe6d24019ull, 0x6d3e96551c473d32ull, 0x602aa41bd4761b55ull},
     {0xfaf3efbba3bc7bf7ull, 0xe2c98fbf02409037ull, 0xb0d37644e9f6f8f2ull, 0xe4579f3e1c688690ull},
     {0xfb3a81d4e8928117ull, 0x028793158a9edb7full, 0x04a67980c3c6c970ull, 0x8fc38eec9eaa4b25ull},
     {0x2d37aa1bf370d96aull, 0xebf5489eacc19100ull, 0x0df33551b65cfac9ull, 0x908f04247b84e7ceull},
     0x82be6915b072a7c3ull},
    {"Rossler",
     {0x0183e89bb37ecdf0ull, 0x5a7710c9ba575ae8ull, 0x18bad2a288bcd836ull, 0x3f77261395a130b9ull},
     {0x42a1e2bf5d3d7a9full, 0xde769bb97cba9ccaull, 0x4d2518d26f60567full, 0xd0883ea78f65fd81ull},
     {0x0183e89bb37ecdf0ull, 0x5a7710c9ba575ae8ull, 0x18bad2a288bcd836ull, 0x3f77261395a130b9ull},
     {0x305a220358f771ffull, 0xb2abcb8023b3cc36ull, 0xe20ac68a34317fe7ull, 0xb2d5a79f6ad9bb92ull},
     {0x1ff8b04e9b0f970cull, 0x279c7d760d00a2ecull, 0x3ea9724ed0df385eull, 0x1bc92141b30689e5ull},
     0xadd79d4e46eec2a3ull},
    {"Sorvan",
     {0x8bd96892f630ee10ull, 0x855e6bae6b32392aull, 0x6320e1d9c2b9111bull, 0x79664afc928246b9ull},
     {0xc9179413880129d1ull, 0xbde8c48931b00746ull, 0xb4ef818ae3ef6edeull, 0x6c6bebcd8ad2d79bull},
     {0x8bd96892f630ee10ull, 0x855e6bae6b32392aull, 0x6320e1d9c2b9111bull, 0x79664afc928246b9ull},
     {0x485d37b3c08018c6ull, 0x43ff11e31a232664ull, 0x0521bb215f773203ull, 0x88ac0fbccdcab01cull},
     {0xff7a225feca3a37cull, 0x4994c83a1af6f818ull, 0xabf858a69c112d52ull, 0x61b6f455b3456e26ull},
     0xaa3183b62da84dc3ull},
    {"Pickover",
     {0x0828cee45bf091e1ull, 0x38a96f4729ac6de1ull, 0x13a0760d8aca12e1ull, 0x13a0760d8aca12e1ull},
     {0x0828cee45bf091e1ull, 0x38a96f4729ac6de1ull, 0x13a0760d8aca12e1ull, 0x13a0760d8aca12e1ull},
     {0x0828cee45bf091e1ull, 0x38a96f4729ac6de1ull, 0x13a0760d8aca12e1ull, 0x13a0760d8aca12e1ull},
     {0xe7a4b66caaee2787ull, 0x655731383204c691ull, 0x7b22c1c11879151cull, 0x7b22c1c11879151cull},
     {0x9b0c5c82a6d2b468ull, 0x17b6406fbfef0b81ull, 0x9056563f2a3bca53ull, 0x9056563f2a3bca53ull},
     0xa8b2427fca95d469ull},
    {"Sorvan",
     {0x92e8bc838a990978ull, 0xdcaaf1f1adfcc42bull, 0xa37c700f6daa2cc5ull, 0xe947cd85a1cab8ceull},
     {0x2f81fb3a9655d55dull, 0x1b9af0ab90094667ull, 0xa4b013afb695a54full, 0xaae3f73dbad5356dull},
     {0x92e8bc838a990978ull, 0xdcaaf1f1adfcc42bull, 0xa37c700f6daa2cc5ull, 0xe947cd85a1cab8ceull},
     {0xcf4b41e0de7b795full, 0x560decffaf7b150full, 0x4e848b38266ab99bull, 0xe7a4b66caaee2787ull},
     {0x6308e69ed54b57fdull, 0x344d8f8b63729691ull, 0xe52a8849327e05f4ull, 0xb6b5413be079d937ull},
     0xf0e5ce7293d9084full},
};

std::unique_ptr<CAttractor> Record(int row) {
    std::unique_ptr<CAttractor> a(CreateAttractor(row < 6 ? row : row == 6 ? 3 : 5));
    a->m_strSettingsPath = QEL_SOURCE_DIR "/tests/engine/PassGolden.ini";
    a->LoadSettings();
    a->m_szAxisX[0] = a->m_szAxisY[0] = a->m_szAxisZ[0] = '\0';
    if (row == 6)
        a->m_initX.m_value = 0; // e / sin(X) at X = 0: not a number from the first step on
    if (row == 7)
        a->m_zoom.m_value *= 8; // most segments clipped, many far outside
    return a;
}

std::string Hex(const uint64_t (&v)[4]) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "{0x%016llxull, 0x%016llxull, 0x%016llxull, 0x%016llxull}",
                  (unsigned long long)v[0], (unsigned long long)v[1], (unsigned long long)v[2],
                  (unsigned long long)v[3]);
    return buf;
}

} // namespace

TEST(Canvas, EveryKindAndPlaneDrawsAsRecorded) {
    TempDir dir;
    const std::string trace = dir.File("trace.txt");
    CTrajectoryPlotter::SetTracePath(trace);
    std::string table;
    for (int row = 0; row < 8; ++row) {
        auto a = Record(row);
        Golden got{a->GetName(), {}, {}, {}, {}, {}, 0};
        CLogHost host;
        CPlotSurface s;
        s.SetAttractor(a.get());
        s.Reset(&host, 0); // the Run
        for (int p = 0; p < 4; ++p)
            got.run[p] = Hash(s.Picture(p));
        const double y0 = a->m_initY.m_value;
        a->m_initY.m_value += 0.01;
        s.Reset(&host, 1); // a second Run drawn over the first
        a->m_initY.m_value = y0;
        for (int p = 0; p < 4; ++p) {
            got.accumulated[p] = Hash(s.Picture(p));
            QImage img(591, 515, QImage::Format_RGB32);
            img.fill(Qt::black);
            s.RenderPlaneInto(img, p); // an export
            got.single[p] = Hash(img);
            std::FILE* f = std::tmpfile();
            ASSERT_TRUE(f && WritePointList(*a, p, f));
            std::string csv(std::size_t(std::ftell(f)), '\0');
            std::rewind(f);
            ASSERT_EQ(std::fread(csv.data(), 1, csv.size(), f), csv.size());
            std::fclose(f);
            got.points[p] = Fnv(csv.data(), csv.size());
        }
        // Simulate, short and with colours, since it pauses every ten points.
        a->m_iteration.m_value = 253;
        a->m_nStartColorChangeIter = 200;
        for (int p = 0; p < 4; ++p) {
            host.m_strLog += "|";
            s.DrawPlane(p, nullptr);
            const std::size_t at = host.m_strLog.rfind('|');
            got.animation[p] = Fnv(host.m_strLog.data() + at, host.m_strLog.size() - at);
        }
        const std::string lines = TempDir::Read(trace);
        std::remove(trace.c_str());
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2 * 16) << row;
        got.log = Fnv(lines.data(), lines.size(), Fnv(host.m_strLog.data(), host.m_strLog.size()));

        const Golden& want = kGolden[row];
        const bool same = std::equal(got.run, got.run + 4, want.run) &&
                          std::equal(got.accumulated, got.accumulated + 4, want.accumulated) &&
                          std::equal(got.single, got.single + 4, want.single) &&
                          std::equal(got.animation, got.animation + 4, want.animation) &&
                          std::equal(got.points, got.points + 4, want.points) &&
                          got.log == want.log;
        EXPECT_TRUE(same) << "row " << row << " (" << got.what << ") differs";
        char log[32];
        std::snprintf(log, sizeof log, "0x%016llxull", (unsigned long long)got.log);
        table += std::string("{\"") + got.what + "\",\n " + Hex(got.run) + ",\n " +
                 Hex(got.accumulated) + ",\n " + Hex(got.single) + ",\n " + Hex(got.animation) +
                 ",\n " + Hex(got.points) + ",\n " + log + "},\n";
    }
    CTrajectoryPlotter::SetTracePath("");
    if (HasFailure())
        std::printf("%s", table.c_str()); // what this build draws, in the table's form
}
