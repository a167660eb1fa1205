// The timer window towards the shell and screen readers: the progress on its
// taskbar button, recorded by a stand-in for the shell's, and what a reader
// gets through oleacc: the name, the remaining time in words, whether it
// counts, and when it is told that the time changed.
#include "ComApartment.h"
#include "ComPtr.h"
#include "Strings.h"
#include "TimerWindowFixture.h"

#include <oleacc.h>

#include <stdexcept>
#include <vector>

namespace brevalo {
namespace {

// Records what the window shows on its button, one line per call.
class RecordingTaskbar : public TaskbarProgress {
public:
    explicit RecordingTaskbar(std::vector<std::string>& calls) : calls_(calls) {}
    void SetState(TaskbarState state) override {
        static const char* const names[] = {"none", "normal", "paused", "error"};
        calls_.push_back(std::string("state ") + names[int(state)]);
    }
    void SetValue(std::uint64_t completed, std::uint64_t total) override {
        calls_.push_back("value " + std::to_string(completed) + "/" + std::to_string(total));
    }

private:
    std::vector<std::string>& calls_;
};

class TimerShellTest : public testsupport::TimerWindowFixture {
protected:
    // What the shell sends once it has made the window's button.
    void AnnounceButton(TForm1& form) {
        SendMessageW(form.Handle(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
    }
    void Tick(TForm1& form, double seconds) {
        Advance(seconds);
        form.Engine().ThreadedTimer1Timer();
        Pump();
    }
    // The calls recorded since the last look.
    std::vector<std::string> Recorded() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST_F(TimerShellTest, TheButtonShowsThePassedShareEachSecondThePauseAndTheEnd) {
    int made = 0;
    auto form = Open("/q90 /cTea /v /s0");
    form->TaskbarSource = [&](HWND) {
        ++made;
        return std::make_unique<RecordingTaskbar>(calls);
    };
    // Before the start nothing counts: no progress.
    AnnounceButton(*form);
    EXPECT_EQ(Recorded(), Calls{});
    // 90 seconds shown at the start: 91 seconds long, none passed.
    form->Engine().Start();
    EXPECT_EQ(Recorded(), (Calls{"value 0/91", "state normal"}));
    Tick(*form, 30.5);
    EXPECT_EQ(Recorded(), Calls{"value 31/91"});
    // Ticks within the same shown second leave the button alone.
    Tick(*form, 0.2);
    Tick(*form, 0.2);
    EXPECT_EQ(Recorded(), Calls{});

    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(Recorded(), Calls{"state paused"});
    // The shell restarted and made a new button: it is told everything again,
    // through the same object.
    AnnounceButton(*form);
    EXPECT_EQ(Recorded(), (Calls{"value 31/91", "state paused"}));
    // Paused time does not count as passed.
    Advance(20);
    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(Recorded(), Calls{"state normal"});
    Tick(*form, 1);
    EXPECT_EQ(Recorded(), Calls{"value 32/91"});

    // The last second shown, then the end: full, in the error state, until
    // the window closes.
    Tick(*form, 57.5);
    EXPECT_EQ(Recorded(), Calls{"value 90/91"});
    Tick(*form, 0.7);
    EXPECT_TRUE(form->Finished());
    EXPECT_EQ(Recorded(), (Calls{"value 91/91", "state error"}));
    Tick(*form, 1);
    EXPECT_EQ(Recorded(), Calls{});
    EXPECT_EQ(made, 1);
}

TEST_F(TimerShellTest, ALineThatCannotCountShowsNoProgress) {
    TForm1 form;
    form.NowSource = [this] { return now; };
    form.TaskbarSource = [&](HWND) { return std::make_unique<RecordingTaskbar>(calls); };
    EXPECT_THROW(form.FormCreate(CommandLine("\"Brevalo.exe\" /qx")), std::runtime_error);
    AnnounceButton(form);
    form.Engine().Start();
    Tick(form, 1);
    EXPECT_EQ(Recorded(), Calls{});
}

// The reader's side of the value-change events: each event is answered by
// reading the value again, as a screen reader does.
std::vector<HWND> valueChanges;

void CALLBACK ValueChanged(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                           DWORD) {
    if (event == EVENT_OBJECT_VALUECHANGE && object == OBJID_CLIENT && child == CHILDID_SELF)
        valueChanges.push_back(window);
}

std::string Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                 IAccessible& object) {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if ((object.*get)(self, &text) != S_OK || !text)
        return "(none)";
    const std::string narrow = base::Narrow(text);
    SysFreeString(text);
    return narrow;
}

bool Animated(IAccessible& object) {
    VARIANT self, state;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VariantInit(&state);
    EXPECT_EQ(object.get_accState(self, &state), S_OK);
    EXPECT_EQ(state.vt, VT_I4);
    return state.vt == VT_I4 && (state.lVal & STATE_SYSTEM_ANIMATED);
}

TEST_F(TimerShellTest, AReaderHearsTheNameTheTimeInWordsWhetherItCountsAndTheChangesItIsTold) {
    const os::ComApartment com;
    // Wine's own taskbar list stands behind the button here.
    auto form = Open("/q3725 /cTea /v /s0");
    AnnounceButton(*form);
    form->Engine().Start();

    base::ComPtr<IAccessible> reader;
    ASSERT_EQ(AccessibleObjectFromWindow(form->Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                         reader.PutVoid()),
              S_OK);
    ASSERT_TRUE(reader);
    EXPECT_EQ(Text(&IAccessible::get_accName, *reader.Get()), "Tea");
    EXPECT_EQ(Text(&IAccessible::get_accValue, *reader.Get()), "1 hour 2 minutes 5 seconds");
    EXPECT_EQ(Text(&IAccessible::get_accDescription, *reader.Get()), "Counting");
    EXPECT_TRUE(Animated(*reader.Get()));
    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(Text(&IAccessible::get_accDescription, *reader.Get()), "Paused");
    EXPECT_FALSE(Animated(*reader.Get()));
    KeyUp(*form, VK_SPACE);
    EXPECT_EQ(Text(&IAccessible::get_accDescription, *reader.Get()), "Counting");

    // The last 75 seconds, one at a time: what a listening reader speaks.
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, ValueChanged,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    Tick(*form, 3725 - 75);
    std::vector<std::string> spoken;
    for (int second = 0; second < 76 && !form->Finished(); ++second) {
        valueChanges.clear();
        Tick(*form, 1);
        for (HWND window : valueChanges) {
            EXPECT_EQ(window, form->Handle());
            spoken.push_back(Text(&IAccessible::get_accValue, *reader.Get()));
        }
    }
    UnhookWinEvent(hook);
    EXPECT_TRUE(form->Finished());
    EXPECT_EQ(spoken,
              (std::vector<std::string>{"1 minute", "10 seconds", "9 seconds", "8 seconds",
                                        "7 seconds", "6 seconds", "5 seconds", "4 seconds",
                                        "3 seconds", "2 seconds", "1 second", "0 seconds"}));

    // A reader that holds on to the object after the window has gone gets
    // errors, not the gone window's name.
    form.reset();
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_TRUE(FAILED(reader->get_accName(self, &name)));
    EXPECT_EQ(name, nullptr);
}

} // namespace
} // namespace brevalo
