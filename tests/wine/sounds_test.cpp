// The timer window's sounds: the four wave resources in the executable, and
// playing them with and without a wave output device. For the device, a copy
// of this program runs with an ALSA configuration whose default device writes
// what it plays into a wave file (Wine's sound driver reads the configuration
// when the program starts, so it cannot be changed from inside the process).
#include "Sounds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace brevalo {
namespace {

// ---------------------------------------------------------------------------
// The copy of this program that plays: BREVALO_PLAY_SOUND names the sound; the
// copy plays it, waits for it to end and leaves before the tests run. Its
// exit code is 3 when it found no wave output device.

bool PlayAndExitIfAsked() {
    wchar_t name[32];
    const DWORD length = GetEnvironmentVariableW(L"BREVALO_PLAY_SOUND", name, 32);
    if (length == 0 || length >= 32)
        return false;
    const std::string sound(name, name + length);
    const UINT devices = waveOutGetNumDevs();
    PlayResourceSound(sound == "-" ? std::string() : sound);
    // The longest sound lasts 1.6 s; the device is closed once it has ended.
    Sleep(3000);
    ExitProcess(devices == 0 ? 3 : 0);
}

[[maybe_unused]] const bool isPlayingCopy = PlayAndExitIfAsked();

// ---------------------------------------------------------------------------
// Wave data

struct WaveFormat {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t bytesPerSecond = 0;
    std::uint16_t bits = 0;
    std::vector<std::uint8_t> extra; // the bytes after WAVEFORMATEX's cbSize
    std::uint32_t factSamples = 0;
    std::vector<std::uint8_t> data;
};

std::uint32_t Le(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// Parses a RIFF/WAVE image; false when it is not one. Chunks of unknown kind
// are skipped; a data chunk whose size runs past the end (a recording still
// open) takes what is there.
bool ParseWave(const std::uint8_t* p, std::size_t size, WaveFormat& wave) {
    if (size < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= size;) {
        const std::uint32_t length = Le(p + at + 4, 4);
        const std::uint8_t* body = p + at + 8;
        const std::size_t available = size - at - 8;
        if (std::memcmp(p + at, "fmt ", 4) == 0 && length >= 16 && length <= available) {
            wave.tag = std::uint16_t(Le(body, 2));
            wave.channels = std::uint16_t(Le(body + 2, 2));
            wave.rate = Le(body + 4, 4);
            wave.bytesPerSecond = Le(body + 8, 4);
            wave.bits = std::uint16_t(Le(body + 14, 2));
            if (length >= 18)
                wave.extra.assign(body + 18,
                                  body + 18 + std::min<std::size_t>(Le(body + 16, 2), length - 18));
            haveFormat = true;
        } else if (std::memcmp(p + at, "fact", 4) == 0 && length >= 4 && length <= available) {
            wave.factSamples = Le(body, 4);
        } else if (std::memcmp(p + at, "data", 4) == 0) {
            wave.data.assign(body, body + std::min<std::size_t>(length, available));
            return haveFormat;
        }
        at += 8 + std::size_t(length) + (length & 1);
    }
    return false;
}

WaveFormat ResourceWave(const wchar_t* name) {
    WaveFormat wave;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, L"WAVE");
    if (!info)
        return wave;
    HGLOBAL loaded = LoadResource(module, info);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!bytes || !ParseWave(bytes, SizeofResource(module, info), wave))
        return WaveFormat{};
    return wave;
}

double Seconds(const WaveFormat& wave) {
    return wave.bytesPerSecond ? double(wave.data.size()) / wave.bytesPerSecond : 0.0;
}

TEST(SoundResources, TheFourSoundsAreWaveResourcesInTheirFormats) {
    struct Expected {
        const wchar_t* name;
        std::uint16_t tag;
        std::uint32_t rate;
        std::uint16_t bits;
        double seconds;
    };
    for (const Expected& e : {Expected{L"TICK1", WAVE_FORMAT_PCM, 44100, 16, 0.020},
                              Expected{L"BEEP1", WAVE_FORMAT_PCM, 11025, 16, 0.240},
                              Expected{L"DONE1", 0x55, 22050, 0, 1.6},
                              Expected{L"DONE2", WAVE_FORMAT_PCM, 11025, 8, 0.490}}) {
        const WaveFormat wave = ResourceWave(e.name);
        SCOPED_TRACE(testing::Message() << std::string(e.name, e.name + 5));
        EXPECT_EQ(wave.tag, e.tag);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.rate, e.rate);
        EXPECT_EQ(wave.bits, e.bits);
        // For the MP3 chime too: at a constant bit rate the bytes per second hold.
        EXPECT_NEAR(Seconds(wave), e.seconds, e.seconds / 10);
    }

    // MPEG Layer-3: MPEGLAYER3WAVEFORMAT's 12 extra bytes (MPEG id 1), a fact
    // chunk with the length in samples, and data that starts with a frame.
    const WaveFormat chime = ResourceWave(L"DONE1");
    ASSERT_EQ(chime.extra.size(), 12u);
    EXPECT_EQ(Le(chime.extra.data(), 2), 1u);
    EXPECT_NEAR(chime.factSamples / 22050.0, 1.6, 0.1);
    ASSERT_GE(chime.data.size(), 2u);
    EXPECT_EQ(chime.data[0], 0xFF);
    EXPECT_EQ(chime.data[1] & 0xE0, 0xE0);
}

TEST(Sounds, WithoutAWaveDeviceEverySoundReturnsAtOnceAndQuietly) {
    if (waveOutGetNumDevs() != 0)
        GTEST_SKIP() << "this system has a wave output device";
    const DWORD start = GetTickCount();
    for (const char* name : {"TICK1", "BEEP1", "DONE1", "DONE2", "", "NOSUCHSOUND"})
        PlayResourceSound(name);
    // Nothing was queued: a synchronous stop finds nothing to wait for.
    EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));
    EXPECT_LT(GetTickCount() - start, 5000u) << "nothing may wait for a device";
}

// ---------------------------------------------------------------------------
// With a device that records into a file

// Wine's own services: the Linux name of a file, and starting a Linux
// program (waiting for it returns its exit code).
using UnixFileName = char*(CDECL*)(const wchar_t*);
using UnixSpawn = LONG(WINAPI*)(char* const argv[], int wait);

class SoundDevice : public ::testing::Test {
protected:
    void SetUp() override {
        toUnix_ = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        spawn_ = reinterpret_cast<UnixSpawn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
        if (!toUnix_ || !spawn_)
            GTEST_SKIP() << "needs Wine and its ALSA driver";
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"brevalo-sound-test\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        char* unixFolder = toUnix_(folder_.c_str());
        ASSERT_NE(unixFolder, nullptr);
        unixFolder_ = unixFolder;
        HeapFree(GetProcessHeap(), 0, unixFolder);
        // ALSA_CONFIG_PATH separates its files with colons: name drive C by
        // its folder rather than by the "c:" link to it.
        const std::string link = "/dosdevices/c:/";
        if (const auto at = unixFolder_.find(link); at != std::string::npos)
            unixFolder_.replace(at, link.size(), "/drive_c/");
        ASSERT_EQ(unixFolder_.find(':'), std::string::npos) << unixFolder_;
        // The file plugin rewrites its file each time the device is opened.
        std::ofstream(std::filesystem::path(folder_ + L"asound.conf"))
            << "pcm.!default { type file; slave.pcm \"null\"; file \"" << unixFolder_
            << "played.wav\"; format \"wav\" }\n";
    }

    void TearDown() override {
        DeleteFileW((folder_ + L"played.wav").c_str());
        DeleteFileW((folder_ + L"asound.conf").c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    // Runs a copy of this program that plays `sound` ("-" for the empty
    // name) on the recording device, and returns its exit code (3: it found
    // no device). The copy is started as a Linux process, "wine" with the
    // ALSA configuration in its environment, since a program started by
    // Wine gets the Linux environment of Wine, not the Windows one.
    int PlayInCopy(const char* sound) {
        DeleteFileW((folder_ + L"played.wav").c_str());
        wchar_t program[MAX_PATH];
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        char* unixProgram = toUnix_(program);
        if (!unixProgram)
            return -1;
        const std::string programPath = unixProgram;
        HeapFree(GetProcessHeap(), 0, unixProgram);
        std::string config =
            "ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:" + unixFolder_ + "asound.conf";
        std::string name = std::string("BREVALO_PLAY_SOUND=") + sound;
        std::string timeout = "/usr/bin/timeout", limit = "60", env = "/usr/bin/env", wine = "wine",
                    path = programPath;
        char* argv[] = {timeout.data(), limit.data(), env.data(),  config.data(),
                        name.data(),    wine.data(),  path.data(), nullptr};
        return int(spawn_(argv, TRUE));
    }

    bool Recorded(WaveFormat& wave) {
        std::ifstream in(std::filesystem::path(folder_ + L"played.wav"), std::ios::binary);
        if (!in)
            return false;
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        return ParseWave(bytes.data(), bytes.size(), wave);
    }

    // The seconds of sound in a recording: the stretch from the first to
    // the last sample that is not silence.
    static double AudibleSeconds(const WaveFormat& wave) {
        const std::size_t frame = std::size_t(wave.channels) * (wave.bits / 8);
        if (frame == 0 || wave.rate == 0)
            return 0;
        const std::uint8_t silence = wave.bits == 8 ? 0x80 : 0x00;
        std::size_t first = wave.data.size(), last = 0;
        for (std::size_t i = 0; i < wave.data.size(); ++i) {
            // The low byte of 16-bit silence may wobble with dithering.
            if (wave.bits == 16 && i % 2 == 0)
                continue;
            if (wave.data[i] != silence && wave.data[i] != std::uint8_t(silence - 1)) {
                first = std::min(first, i);
                last = i;
            }
        }
        return first > last ? 0 : double(last - first) / frame / wave.rate;
    }

    UnixFileName toUnix_ = nullptr;
    UnixSpawn spawn_ = nullptr;
    std::wstring folder_;
    std::string unixFolder_;
};

TEST_F(SoundDevice, TheAlarmAndTheMp3ChimePlayToTheEnd) {
    ASSERT_EQ(PlayInCopy("DONE2"), 0) << "the copy found no wave device";
    WaveFormat wave;
    ASSERT_TRUE(Recorded(wave)) << "nothing reached the device";
    EXPECT_NEAR(AudibleSeconds(wave), 0.49, 0.08);

    // Decoded from MPEG Layer-3 on its way to the device.
    ASSERT_EQ(PlayInCopy("DONE1"), 0);
    ASSERT_TRUE(Recorded(wave));
    EXPECT_GT(AudibleSeconds(wave), 1.3);

    ASSERT_EQ(PlayInCopy("TICK1"), 0);
    ASSERT_TRUE(Recorded(wave));
    EXPECT_GT(AudibleSeconds(wave), 0.005);
}

TEST_F(SoundDevice, AnEmptyOrUnknownNameOpensNoDevice) {
    WaveFormat wave;
    ASSERT_EQ(PlayInCopy("-"), 0);
    EXPECT_FALSE(Recorded(wave)) << "the empty name played something";
    ASSERT_EQ(PlayInCopy("NOSUCHSOUND"), 0);
    EXPECT_FALSE(Recorded(wave)) << "something stood in for a missing resource";
}

} // namespace
} // namespace brevalo
