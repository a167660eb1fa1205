#!/usr/bin/env python3
"""Synthesises the four sounds of the timer window and writes them beside this
script:

  TICK1.wav  a short soft tick          PCM, mono, 44100 Hz, 16-bit, 20 ms
  BEEP1.wav  an electronic beep         PCM, mono, 11025 Hz, 16-bit, 240 ms
  DONE1.wav  a three-note chime         MPEG Layer-3 in a RIFF/WAVE container,
                                        mono, 22050 Hz, 32 kbit/s, 1.6 s
  DONE2.wav  an electronic alarm        PCM, mono, 11025 Hz, 8-bit, 490 ms

The waveforms are computed here from sines and envelopes (no noise, no
dither), so every run writes the same bytes. The chime is encoded with lame
(Debian package "lame") at a constant bit rate without a LAME/Xing tag, and
wrapped in a wave container of our own with a WAVE_FORMAT_MPEGLAYER3 header
and a fact chunk, the form PlaySound hands to the system's MP3 decoder.

    python3 resources/sounds/make_sounds.py [output folder]
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

# --------------------------------------------------------------------------
# Synthesis helpers: a sound is a list of floats in [-1, 1].


def silence(rate, seconds):
    return [0.0] * round(rate * seconds)


def partial(rate, length, freq, amp, tau, start=0.0, attack=0.0):
    """A decaying sine starting at `start` seconds, rising over `attack`
    seconds, as a sparse add-list."""
    first = round(start * rate)
    out = []
    for n in range(first, length):
        t = (n - first) / rate
        rise = 0.5 - 0.5 * math.cos(math.pi * t / attack) if t < attack else 1.0
        out.append((n, rise * amp * math.exp(-t / tau) * math.sin(2 * math.pi * freq * t)))
    return out


def mix(length, parts):
    samples = [0.0] * length
    for part in parts:
        for n, v in part:
            samples[n] += v
    return samples


def attack_release(samples, rate, attack, release):
    """Raised-cosine fade in and fade out, so no sound starts or ends with a click."""
    a = max(1, round(attack * rate))
    r = max(1, round(release * rate))
    out = list(samples)
    for i in range(min(a, len(out))):
        out[i] *= 0.5 - 0.5 * math.cos(math.pi * i / a)
    for i in range(min(r, len(out))):
        out[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / r)
    return out


def normalise(samples, peak):
    top = max(abs(v) for v in samples)
    return [v * peak / top for v in samples] if top > 0 else samples


def band_limited_square(rate, t, freq):
    """A square wave from its odd harmonics below the Nyquist frequency."""
    v, k = 0.0, 1
    while k * freq < rate / 2:
        v += math.sin(2 * math.pi * k * freq * t) / k
        k += 2
    return v * 4 / math.pi


# --------------------------------------------------------------------------
# The four sounds


def tick():
    """A woody tick: two quickly dying partials over 20 ms."""
    rate, length = 44100, 882
    s = mix(
        length,
        [
            partial(rate, length, 1760.0, 1.0, 0.0030),
            partial(rate, length, 3630.0, 0.45, 0.0016),
            partial(rate, length, 5410.0, 0.20, 0.0009),
        ],
    )
    return rate, normalise(attack_release(s, rate, 0.0004, 0.002), 0.55)


def beep():
    """An electronic beep: a soft-edged square wave at 1 kHz for 240 ms."""
    rate, length = 11025, 2646
    s = [band_limited_square(rate, n / rate, 1000.0) for n in range(length)]
    return rate, normalise(attack_release(s, rate, 0.004, 0.025), 0.45)


def chime():
    """Three bell-like notes falling G5, E5, C5, over 1.6 s."""
    rate, length = 22050, 35280
    parts = []
    for start, freq in ((0.0, 783.99), (0.32, 659.26), (0.64, 523.25)):
        # Bell partials: the fundamental, its octave, and two inharmonic
        # overtones that die away first.
        for ratio, amp, tau in ((1.0, 1.0, 0.55), (2.0, 0.35, 0.30), (2.76, 0.22, 0.16),
                                (5.40, 0.08, 0.07)):
            parts.append(partial(rate, length, freq * ratio, amp, tau, start, 0.004))
    s = mix(length, parts)
    return rate, normalise(attack_release(s, rate, 0.002, 0.08), 0.70)


def alarm():
    """An electronic alarm: four 80 ms pulses alternating 1320 Hz and 1760 Hz."""
    rate, length = 11025, 5402
    s = [0.0] * length
    for pulse in range(4):
        first = round(pulse * 0.120 * rate)
        width = round(0.080 * rate)
        freq = 1320.0 if pulse % 2 == 0 else 1760.0
        body = [band_limited_square(rate, i / rate, freq) for i in range(width)]
        body = attack_release(body, rate, 0.003, 0.006)
        for i, v in enumerate(body):
            s[first + i] = v
    return rate, normalise(s, 0.80)


# --------------------------------------------------------------------------
# Writers


def pcm16(samples):
    return b"".join(struct.pack("<h", max(-32767, min(32767, round(v * 32767)))) for v in samples)


def pcm8(samples):
    # 8-bit wave data is unsigned, silence at 128.
    return bytes(max(1, min(255, 128 + round(v * 127))) for v in samples)


def write_pcm(path, rate, width, frames):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(frames)


# MPEG-2 (low sampling frequency) Layer III, as lame writes it for 22050 Hz.
MP3_BITRATE = 32000
MP3_SAMPLES_PER_FRAME = 576
MP3_ENCODER_DELAY = 576 + 529  # lame's own padding plus the decoder's delay


def mp3_frames(data, rate):
    """Checks that `data` is nothing but MPEG-2 Layer III frames of one
    constant bit rate at `rate`, and returns their number."""
    bitrates = [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]
    rates = [22050, 24000, 16000]
    pos, count = 0, 0
    while pos < len(data):
        if pos + 4 > len(data):
            raise ValueError("trailing bytes after the last MP3 frame")
        h = struct.unpack(">I", data[pos:pos + 4])[0]
        if h >> 21 != 0x7FF:
            raise ValueError("no frame sync at byte %d" % pos)
        version, layer = (h >> 19) & 3, (h >> 17) & 3
        if version != 2 or layer != 1:
            raise ValueError("not an MPEG-2 Layer III frame at byte %d" % pos)
        bitrate = bitrates[(h >> 12) & 15] * 1000
        if bitrate != MP3_BITRATE or rates[(h >> 10) & 3] != rate:
            raise ValueError("frame at byte %d is not %d bit/s at %d Hz" % (pos, MP3_BITRATE, rate))
        if (h >> 6) & 3 != 3:
            raise ValueError("frame at byte %d is not mono" % pos)
        pos += 72 * bitrate // rate + ((h >> 9) & 1)
        count += 1
    return count


def encode_mp3(rate, samples):
    lame = shutil.which("lame")
    if not lame:
        sys.exit("make_sounds: lame is missing (apt-get install lame)")
    with tempfile.TemporaryDirectory() as work:
        source, target = os.path.join(work, "in.wav"), os.path.join(work, "out.mp3")
        write_pcm(source, rate, 2, pcm16(samples))
        command = [lame, "--quiet", "-m", "m", "--cbr", "-b", str(MP3_BITRATE // 1000),
                   "--resample", "%g" % (rate / 1000), "-t", "--noreplaygain", source, target]
        subprocess.run(command, check=True)
        with open(target, "rb") as f:
            return f.read()


def chunk(tag, body):
    return tag + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def write_mp3_wave(path, rate, samples):
    data = encode_mp3(rate, samples)
    mp3_frames(data, rate)
    # MPEGLAYER3WAVEFORMAT: the WAVEFORMATEX part, then wID, fdwFlags,
    # nBlockSize, nFramesPerBlock and nCodecDelay.
    fmt = struct.pack(
        "<HHIIHHHHIHHH",
        0x0055,  # WAVE_FORMAT_MPEGLAYER3
        1,  # mono
        rate,
        MP3_BITRATE // 8,  # average bytes per second
        1,  # block alignment
        0,  # bits per sample: none for a compressed format
        12,  # size of the extra fields that follow
        1,  # MPEGLAYER3_ID_MPEG
        0,  # MPEGLAYER3_FLAG_PADDING_ISO: padding as the frames say
        72 * MP3_BITRATE // rate,  # frame size without padding
        1,  # frames per block
        MP3_ENCODER_DELAY,
    )
    fact = struct.pack("<I", len(samples))
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"fact", fact) + chunk(b"data", data)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    rate, s = tick()
    write_pcm(os.path.join(out, "TICK1.wav"), rate, 2, pcm16(s))
    rate, s = beep()
    write_pcm(os.path.join(out, "BEEP1.wav"), rate, 2, pcm16(s))
    rate, s = chime()
    write_mp3_wave(os.path.join(out, "DONE1.wav"), rate, s)
    rate, s = alarm()
    write_pcm(os.path.join(out, "DONE2.wav"), rate, 1, pcm8(s))


if __name__ == "__main__":
    main()
