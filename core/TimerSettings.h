// The settings of one running timer, filled from its command line.
#pragma once

#include "Colour.h"
#include "DateTime.h"

#include <string>

namespace brevalo {

enum class RegistryRoot { CurrentUser, LocalMachine };

// Result of parsing a timer's command line.
enum ParseResult : int {
    ParseOk = 0,
    ParseNoEndPoint = 1,
    ParseBadT = 3,
    ParseBadQ = 4,
    ParseActionMissing = 6,
};

// Sound names hold at most this many characters; empty means no sound.
constexpr std::size_t MaxSoundNameLength = 15;

// What closing a counting timer does (switch /x).
enum class CloseMode : int { Ask = 0, CloseWithoutAsking = 1, Refuse = 2 };

struct TimerSettings {
    DateTime EndTime = 0.0;
    bool IsRelative = false;
    std::string RestartCommandLine;
    std::string TimerName = "Timer";
    TColor ForeColor = 0;
    TColor BackColor = 0;
    bool HideTitleBar = false;
    brevalo::CloseMode CloseMode = CloseMode::Ask;
    bool KeepOnTop = false;
    bool AllowScreenSaver = false;
    bool PauseDisabled = false;
    bool NoBringToFront = false;
    std::string TickSound;
    std::string DoneSound = "DONE1";
    bool PopupMenuEnabled = true;
    bool KeepOpenWhenDone = false;
    RegistryRoot AutorunRoot = RegistryRoot::CurrentUser;
    bool ResumeAfterRestart = false;
    bool ResumeOnceAfterLogoff = true;
    bool StartMaximized = false;
    bool CheckForUpdates = true;
    std::string ActionVerb = "open";
    std::string ActionFile;
    std::string ActionParams;
    bool SilentErrors = false;
};

// Sets a sound name, cut to its fixed width; an all-blank name means none.
std::string SoundName(std::string_view name);

} // namespace brevalo
