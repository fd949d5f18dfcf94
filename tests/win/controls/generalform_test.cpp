// The shared form: background sound channels (with a counting device, and
// once through the platform's media control interface) and the stock
// pictures.
#include "helpers.h"
#include "objects/generalform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv::objects {
namespace {

struct DeviceLog {
    int opens = 0, plays = 0, stops = 0, closes = 0;
    bool failOpen = false;
    bool playing = false;
    std::string file;
};

class CountingDevice : public SoundDevice {
public:
    explicit CountingDevice(DeviceLog& log) : log_(log) {}
    bool Open(const std::string& file) override {
        ++log_.opens;
        log_.file = file;
        return !log_.failOpen;
    }
    bool Play() override {
        ++log_.plays;
        log_.playing = true;
        return true;
    }
    bool IsPlaying() override { return log_.playing; }
    bool IsStopped() override { return !log_.playing; }
    void Stop() override {
        ++log_.stops;
        log_.playing = false;
    }
    void Close() override {
        ++log_.closes;
        log_.playing = false;
    }

private:
    DeviceLog& log_;
};

class SoundTest : public ::testing::Test {
protected:
    SoundTest()
        : form([this] {
              ++made;
              return std::make_unique<CountingDevice>(log);
          }) {
        test::WriteFile(dir / "loop.wav", "not really a sound");
    }
    test::TempDir dir;
    DeviceLog log;
    int made = 0;
    TGeneralForm form;
};

TEST_F(SoundTest, LoopingChannelRestartsWhenStoppedUntilStopSound) {
    form.PlaySound(1, dir / "loop.wav", true);
    EXPECT_TRUE(form.Loaded(1));
    EXPECT_TRUE(form.Looping(1));
    EXPECT_EQ(log.plays, 1);
    form.LoopTick(); // still playing: nothing to do
    EXPECT_EQ(log.plays, 1);
    log.playing = false; // the sound ended
    form.LoopTick();
    EXPECT_EQ(log.plays, 2);
    form.StopSound(1);
    EXPECT_FALSE(form.Looping(1));
    EXPECT_EQ(log.stops, 1);
    log.playing = false;
    form.LoopTick();
    EXPECT_EQ(log.plays, 2);
    // The form's own one-second timer does the ticking.
    form.PlaySound(1, dir / "loop.wav", true);
    log.playing = false;
    test::Pump(1200);
    EXPECT_EQ(log.plays, 4);
}

TEST_F(SoundTest, NonLoopingMissingAndUnopenableSoundsStaySilent) {
    form.PlaySound(0, dir / "loop.wav", false);
    EXPECT_TRUE(form.Loaded(0));
    log.playing = false;
    form.LoopTick();
    EXPECT_EQ(log.plays, 1);

    const int opens = log.opens;
    form.PlaySound(2, dir / "missing.wav", true);
    EXPECT_FALSE(form.Loaded(2));
    EXPECT_EQ(log.opens, opens);

    log.failOpen = true;
    form.PlaySound(2, dir / "loop.wav", true);
    EXPECT_FALSE(form.Loaded(2));
    log.failOpen = false;

    // Only channels 0..2 exist.
    const int before = made;
    form.PlaySound(3, dir / "loop.wav", true);
    form.PlaySound(-1, dir / "loop.wav", true);
    form.StopSound(7);
    EXPECT_EQ(made, before);
    EXPECT_FALSE(form.Loaded(3));

    // Playing again on a channel closes what it played before.
    const int closes = log.closes;
    form.PlaySound(0, dir / "loop.wav", true);
    EXPECT_GT(log.closes, closes);
    form.StopAllSounds();
    for (int c = 0; c < 3; ++c)
        EXPECT_FALSE(form.Loaded(c)) << c;
}

// A short, silent PCM wave file.
std::string SilentWave() {
    const uint32_t rate = 8000, samples = 800;
    std::string w;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            w.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](uint16_t v) {
        w.push_back(static_cast<char>(v & 0xFF));
        w.push_back(static_cast<char>(v >> 8));
    };
    w += "RIFF";
    u32(36 + samples);
    w += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate);
    u16(1);
    u16(8);
    w += "data";
    u32(samples);
    w.append(samples, static_cast<char>(0x80));
    return w;
}

TEST(SoundChannels, PlayThroughTheMediaControlInterface) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteFile(dir / "tone.wav", SilentWave()));
    TGeneralForm form;
    form.PlaySound(0, dir / "tone.wav", true);
    EXPECT_TRUE(form.Loaded(0));
    test::Pump(1100); // the loop restart runs over a real device
    form.StopSound(0);
    EXPECT_FALSE(form.Loaded(0));
    // Not a sound at all: swallowed.
    ASSERT_TRUE(test::WriteFile(dir / "bad.wav", "garbage"));
    form.PlaySound(1, dir / "bad.wav", false);
    EXPECT_FALSE(form.Loaded(1));
}

TEST(StockPictures, BinderRingsAndClipWithAlpha) {
    struct Case {
        gfx::Image img;
        int w, h;
    };
    for (const Case& c : {Case{MakeBindPicture(), 60, 37}, Case{MakePadPicture(), 70, 33}}) {
        EXPECT_EQ(c.img.width, c.w);
        EXPECT_EQ(c.img.height, c.h);
        int clear = 0, opaque = 0;
        for (uint32_t p : c.img.pixels) {
            clear += (p >> 24) == 0;
            opaque += (p >> 24) == 255;
        }
        EXPECT_GT(clear, c.w * c.h / 5);
        EXPECT_GT(opaque, c.w * c.h / 10);
    }
    EXPECT_EQ(GeneralForm(), nullptr);
    TGeneralForm& form = CreateGeneralForm();
    EXPECT_EQ(GeneralForm(), &form);
    EXPECT_EQ(form.BindPicture().pixels, MakeBindPicture().pixels);
    EXPECT_NE(form.Handle(), nullptr);
    FreeGeneralForm();
    EXPECT_EQ(GeneralForm(), nullptr);
}

} // namespace
} // namespace orv::objects
