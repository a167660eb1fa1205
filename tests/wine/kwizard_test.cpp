// The wizard control in a 640 x 380 dialog: its buttons, navigation rules,
// page events, the button bar's geometry and painting, keys, and the page
// decorations.
#include "Application.h"
#include "DialogForm.h"
#include "ImageList.h"
#include "KWizard.h"
#include "PixelCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace brevalo::controls {
namespace {

using Kind = TKWizardButtonKind;

class HostDialog : public DialogForm {
public:
    HostDialog() {
        DialogParams params;
        params.className = L"KWizardTestHost";
        params.caption = "Wizard test";
        params.clientWidth = 640;
        params.clientHeight = 380;
        CreateDialogWindow(params);
    }
    ~HostDialog() override {
        if (Handle())
            DestroyWindow(Handle());
    }
};

// A window's client area painted into a 32-bit bitmap through WM_PRINTCLIENT.
testsupport::PixelCanvas Snapshot(HWND hwnd) {
    return testsupport::PixelCanvas::OfClientArea(hwnd);
}

class KWizardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gui::Application::Instance().Initialize(GetModuleHandleW(nullptr));
    }

    // A wizard with `count` interior pages, loaded as a dialog loads it.
    void Build(int count) {
        wizard = std::make_unique<TKWizard>(host.Handle());
        wizard->BeginLoading();
        for (int i = 0; i < count; ++i) {
            pages.push_back(std::make_unique<TKWizardInteriorPage>(*wizard));
            pages.back()->SetCaption("page " + std::to_string(i));
        }
    }
    TKWizardCustomPage* Page(int i) { return pages[std::size_t(i)].get(); }
    TKWizardButtonControl& Button(Kind kind) { return wizard->Button(kind); }
    RECT Bounds(Kind kind) { return Button(kind).Bounds(); }
    void ShowHost() {
        host.Show(SW_SHOW);
        SetForegroundWindow(host.Handle());
        gui::Application::Instance().ProcessMessages();
    }
    // Sends a key through the message loop, as typing does.
    void PressKey(WPARAM key) {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr);
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        gui::Application::Instance().ProcessMessages();
    }

    HostDialog host;
    std::vector<std::unique_ptr<TKWizardCustomPage>> pages;
    std::unique_ptr<TKWizard> wizard; // destroyed first: the pages are detached
};

// A picture of one colour.
gui::Picture SolidPicture(int width, int height, COLORREF colour) {
    base::WindowDc screen(nullptr);
    base::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    base::MemoryDc dc(CreateCompatibleDC(screen.Get()));
    {
        base::SelectObjectScope select(dc.Get(), bitmap.Get());
        base::Brush brush(CreateSolidBrush(colour));
        const RECT all{0, 0, width, height};
        FillRect(dc.Get(), &all, brush.Get());
    }
    gui::Picture picture;
    picture.AssignBitmap(bitmap.Get());
    return picture;
}

std::string ToString(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST_F(KWizardTest, ButtonsAsCreated) {
    Build(0);
    wizard->Loaded();
    struct Expected {
        Kind kind;
        const char* caption;
        int width;
        bool visible, enabled;
        int modalResult;
        TKWizardLeftRight side;
    };
    const Expected expected[] = {
        {Kind::bkStart, "To &Start Page", 85, false, true, 0, TKWizardLeftRight::alLeft},
        {Kind::bkLast, "To &Last Page", 85, false, true, 0, TKWizardLeftRight::alLeft},
        {Kind::bkBack, "< &Back", 75, true, false, 0, TKWizardLeftRight::alRight},
        {Kind::bkNext, "&Next >", 75, true, false, 0, TKWizardLeftRight::alRight},
        {Kind::bkFinish, "&Finish", 75, false, true, 0, TKWizardLeftRight::alRight},
        {Kind::bkCancel, "Cancel", 75, true, true, mrCancel, TKWizardLeftRight::alRight},
        {Kind::bkHelp, "&Help", 75, false, true, 0, TKWizardLeftRight::alLeft},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.caption);
        TKWizardNavigateButton& nav = wizard->Navigate(e.kind);
        EXPECT_EQ(nav.Caption(), e.caption);
        EXPECT_EQ(nav.Width(), e.width);
        EXPECT_EQ(nav.ModalResult(), e.modalResult);
        EXPECT_EQ(Button(e.kind).Visible(), e.visible);
        EXPECT_EQ(Button(e.kind).Enabled(), e.enabled);
        EXPECT_EQ(Button(e.kind).Alignment(), e.side);
        EXPECT_EQ(GetParent(Button(e.kind).Handle()), wizard->Handle());
    }
    EXPECT_EQ(wizard->ButtonBarHeight(), 42);
    EXPECT_EQ(wizard->ActivePage(), nullptr);
    EXPECT_EQ(wizard->ActivePageIndex(), -1);
    EXPECT_TRUE(wizard->ShowDivider());
    EXPECT_FALSE(wizard->ShowRouteMap());
    // The wizard fills its dialog.
    RECT client{};
    GetClientRect(wizard->Handle(), &client);
    EXPECT_EQ(ToString(client), "0,0-640,380");
}

TEST_F(KWizardTest, LoadingSelectsTheFirstEnabledPageAndIgnoresEarlierAssignments) {
    Build(4);
    Page(0)->SetEnabled(false);
    wizard->SetActivePage(Page(3)); // while loading: ignored
    EXPECT_EQ(wizard->ActivePage(), nullptr);
    wizard->Loaded();
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_EQ(wizard->ActivePageIndex(), 1);
    EXPECT_TRUE(GetWindowLongW(Page(1)->Handle(), GWL_STYLE) & WS_VISIBLE);
    for (int i : {0, 2, 3})
        EXPECT_FALSE(GetWindowLongW(Page(i)->Handle(), GWL_STYLE) & WS_VISIBLE) << i;
    // Pages of another wizard and disabled pages are refused.
    wizard->SetActivePage(Page(0));
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    HostDialog otherHost;
    TKWizard other(otherHost.Handle());
    TKWizardInteriorPage foreign(other);
    wizard->SetActivePage(&foreign);
    EXPECT_EQ(wizard->ActivePage(), Page(1));
}

TEST_F(KWizardTest, BackIsDisabledOnTheFirstEnabledPageForGood) {
    Build(3);
    wizard->Loaded();
    EXPECT_FALSE(Button(Kind::bkBack).Enabled());
    EXPECT_TRUE(Button(Kind::bkNext).Enabled());
    EXPECT_FALSE(Page(0)->EnabledButtons().Contains(Kind::bkBack));

    wizard->SelectNextPage();
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_TRUE(Button(Kind::bkBack).Enabled());
    EXPECT_TRUE(Page(1)->EnabledButtons().Contains(Kind::bkBack));

    // The first page keeps the change even after it was left.
    Page(0)->SetEnabledButtons(TKWizardButtonSet::All());
    wizard->SelectPriorPage();
    EXPECT_FALSE(Button(Kind::bkBack).Enabled());
    EXPECT_FALSE(Page(0)->EnabledButtons().Contains(Kind::bkBack));

    // A page becomes the first enabled one when those before it are
    // disabled.
    wizard->SetActivePage(Page(2));
    Page(0)->SetEnabled(false);
    Page(1)->SetEnabled(false);
    wizard->UpdateButtons();
    EXPECT_FALSE(Button(Kind::bkBack).Enabled());
    EXPECT_FALSE(Page(2)->EnabledButtons().Contains(Kind::bkBack));
}

TEST_F(KWizardTest, ButtonPositionsOfA640By380Wizard) {
    Build(3);
    Page(1)->SetVisibleButtons({Kind::bkBack, Kind::bkNext, Kind::bkFinish, Kind::bkCancel});
    Page(2)->SetVisibleButtons({Kind::bkBack, Kind::bkFinish, Kind::bkCancel});
    wizard->Loaded();

    EXPECT_EQ(ToString(Bounds(Kind::bkCancel)), "557,348-632,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkNext)), "472,348-547,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "396,348-471,373");

    wizard->SelectNextPage(); // Back, Next, Finish, Cancel
    EXPECT_TRUE(Button(Kind::bkFinish).Visible());
    EXPECT_EQ(ToString(Bounds(Kind::bkCancel)), "557,348-632,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkFinish)), "481,348-556,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkNext)), "396,348-471,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "320,348-395,373");

    wizard->SelectNextPage(); // Back, Finish, Cancel: the wide gap before Cancel
    EXPECT_FALSE(Button(Kind::bkNext).Visible());
    EXPECT_EQ(ToString(Bounds(Kind::bkCancel)), "557,348-632,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkFinish)), "472,348-547,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "396,348-471,373");

    // A wider button moves its neighbours at once.
    wizard->ButtonFinish().SetWidth(100);
    EXPECT_EQ(ToString(Bounds(Kind::bkFinish)), "447,348-547,373");
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "371,348-446,373");

    // The pages fill the area above the bar.
    RECT page{};
    GetWindowRect(Page(2)->Handle(), &page);
    MapWindowPoints(nullptr, wizard->Handle(), reinterpret_cast<POINT*>(&page), 2);
    EXPECT_EQ(ToString(page), "0,0-640,338");
}

TEST_F(KWizardTest, FollowsItsParentsSize) {
    Build(1);
    wizard->Loaded();
    RECT outer = host.BoundsPixels();
    host.SetBoundsPixels(outer.left, outer.top, outer.right - outer.left + 100,
                         outer.bottom - outer.top + 20);
    RECT client{};
    GetClientRect(wizard->Handle(), &client);
    EXPECT_EQ(ToString(client), "0,0-740,400");
    EXPECT_EQ(ToString(Bounds(Kind::bkCancel)), "657,368-732,393");
    EXPECT_EQ(Page(0)->Width(), 740);
    EXPECT_EQ(Page(0)->Height(), 358);
}

TEST_F(KWizardTest, DividerLinesAboveTheBar) {
    Build(1);
    wizard->Loaded();
    const auto shot = Snapshot(wizard->Handle());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(shot.At(0, 338), shadow);
    EXPECT_EQ(shot.At(638, 338), shadow);
    EXPECT_EQ(shot.At(639, 338), face); // one pixel short of the right edge
    EXPECT_EQ(shot.At(0, 339), face);   // one pixel in from the left edge
    EXPECT_EQ(shot.At(1, 339), highlight);
    EXPECT_EQ(shot.At(639, 339), highlight);
    EXPECT_EQ(shot.At(300, 337), face);
    EXPECT_EQ(shot.At(300, 340), face);

    wizard->SetShowDivider(false);
    EXPECT_EQ(Snapshot(wizard->Handle()).At(300, 338), face);
}

TEST_F(KWizardTest, APageWithoutButtonsHidesTheBar) {
    Build(2);
    Page(1)->SetVisibleButtons({});
    wizard->Loaded();
    wizard->SelectNextPage();
    ASSERT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_EQ(wizard->ButtonBarHeight(), 0);
    for (int i = 0; i < 7; ++i) {
        const RECT r = Bounds(Kind(i));
        EXPECT_EQ(r.bottom - r.top, 0) << i;
        EXPECT_EQ(r.top, 0) << i;
        EXPECT_FALSE(Button(Kind(i)).Visible()) << i;
    }
    EXPECT_EQ(Page(1)->Height(), 380);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Snapshot(wizard->Handle()).At(300, 338), face); // no divider

    // Showing a button brings the bar back.
    Page(1)->SetVisibleButtons({Kind::bkBack});
    EXPECT_EQ(wizard->ButtonBarHeight(), 42);
    EXPECT_EQ(Page(1)->Height(), 338);
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "557,348-632,373");
}

TEST_F(KWizardTest, SettingTheSameVisibleButtonsChangesNothing) {
    Build(1);
    wizard->Loaded();
    ShowHost(); // hidden windows have no update region
    Button(Kind::bkBack).SetBounds(RECT{1, 2, 76, 27});
    ValidateRect(Page(0)->Handle(), nullptr);
    Page(0)->SetVisibleButtons(DefaultVisibleButtons);
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "1,2-76,27");
    EXPECT_FALSE(GetUpdateRect(Page(0)->Handle(), nullptr, FALSE));

    Page(0)->SetVisibleButtons({Kind::bkBack, Kind::bkCancel});
    EXPECT_TRUE(GetUpdateRect(Page(0)->Handle(), nullptr, FALSE));
    EXPECT_EQ(ToString(Bounds(Kind::bkBack)), "472,348-547,373");
    EXPECT_FALSE(Button(Kind::bkNext).Visible());
}

TEST_F(KWizardTest, OutOfRangeIndexLeavesNoPageAndTheNoPageButtons) {
    Build(3);
    Page(1)->SetVisibleButtons({});
    wizard->Loaded();
    for (int index : {3, -1, 99}) {
        wizard->SetActivePageIndex(1);
        wizard->SetActivePageIndex(index);
        EXPECT_EQ(wizard->ActivePage(), nullptr) << index;
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(GetWindowLongW(Page(i)->Handle(), GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(wizard->ButtonBarHeight(), 42);
        for (int i = 0; i < 7; ++i) {
            const Kind kind = Kind(i);
            const bool shown =
                kind == Kind::bkBack || kind == Kind::bkNext || kind == Kind::bkCancel;
            EXPECT_EQ(Button(kind).Visible(), shown) << i;
            EXPECT_EQ(Button(kind).Enabled(), kind == Kind::bkCancel) << i;
        }
    }
}

TEST_F(KWizardTest, ButtonPressRaisesPageEventThenWizardEventThenMoves) {
    Build(3);
    wizard->Loaded();
    std::vector<std::string> log;
    Page(0)->OnNextButtonClick = [&](TKWizardCustomPage& sender, bool& stop) {
        EXPECT_EQ(&sender, Page(0));
        EXPECT_FALSE(stop);
        log.push_back("page next");
    };
    wizard->SetOnNextButtonClick([&](PushButton& sender) {
        EXPECT_EQ(&sender, &Button(Kind::bkNext));
        // Raised before the move.
        log.push_back("wizard next on " + wizard->ActivePage()->Caption());
    });
    wizard->OnSelectNextPage = [&](TKWizard&, TKWizardCustomPage* from, TKWizardCustomPage*& to) {
        EXPECT_EQ(from, Page(0));
        EXPECT_EQ(to, Page(1));
        log.push_back("select next");
    };
    host.SetModalResult(7);
    Button(Kind::bkNext).Click();
    EXPECT_EQ(log, (std::vector<std::string>{"page next", "wizard next on page 0", "select next"}));
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_EQ(host.ModalResult(), mrNone); // the Next button's modal result

    // The select event may redirect or cancel the move.
    wizard->OnSelectNextPage = [&](TKWizard&, TKWizardCustomPage*, TKWizardCustomPage*& to) {
        to = nullptr;
    };
    Button(Kind::bkNext).Click();
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    wizard->OnSelectPriorPage = [&](TKWizard&, TKWizardCustomPage*, TKWizardCustomPage*& to) {
        to = Page(2);
    };
    Button(Kind::bkBack).Click();
    EXPECT_EQ(wizard->ActivePage(), Page(2));
}

TEST_F(KWizardTest, StopWithAJumpOfTwoPagesSkipsTheWizardEvent) {
    Build(4);
    wizard->Loaded();
    int wizardClicks = 0, selects = 0;
    wizard->SetOnNextButtonClick([&](PushButton&) { ++wizardClicks; });
    wizard->OnSelectNextPage = [&](TKWizard&, TKWizardCustomPage*, TKWizardCustomPage*&) {
        ++selects;
    };
    Page(0)->OnNextButtonClick = [&](TKWizardCustomPage&, bool& stop) {
        stop = true;
        wizard->SetActivePageIndex(wizard->ActivePageIndex() + 2);
    };
    host.SetModalResult(5);
    Button(Kind::bkNext).Click();
    EXPECT_EQ(wizard->ActivePage(), Page(2));
    EXPECT_EQ(wizardClicks, 0);
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(host.ModalResult(), 5); // untouched

    // Back from there goes to the page before it, not to where it came from.
    Button(Kind::bkBack).Click();
    EXPECT_EQ(wizard->ActivePage(), Page(1));
}

TEST_F(KWizardTest, MovesPastEitherEndDoNothing) {
    Build(2);
    wizard->Loaded();
    int selects = 0, pageEvents = 0, wizardEvents = 0;
    auto select = [&](TKWizard&, TKWizardCustomPage*, TKWizardCustomPage*&) { ++selects; };
    wizard->OnSelectNextPage = select;
    wizard->OnSelectPriorPage = select;
    wizard->SetOnBackButtonClick([&](PushButton&) { ++wizardEvents; });
    wizard->SetOnNextButtonClick([&](PushButton&) { ++wizardEvents; });
    Page(0)->OnBackButtonClick = [&](TKWizardCustomPage&, bool&) { ++pageEvents; };
    Page(1)->OnNextButtonClick = [&](TKWizardCustomPage&, bool&) { ++pageEvents; };

    Button(Kind::bkBack).Click(); // on the first page
    wizard->SetActivePage(Page(1));
    Button(Kind::bkNext).Click(); // on the last page
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(pageEvents, 2);
    EXPECT_EQ(wizardEvents, 2);

    // Start and Last jump to the ends.
    wizard->SetActivePage(Page(0));
    Button(Kind::bkLast).Click();
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    Button(Kind::bkStart).Click();
    EXPECT_EQ(wizard->ActivePage(), Page(0));
}

TEST_F(KWizardTest, FinishAndCancelDoNotMoveAndSetTheModalResult) {
    Build(2);
    wizard->Loaded();
    int finishes = 0, cancels = 0;
    wizard->SetOnFinishButtonClick([&](PushButton&) { ++finishes; });
    wizard->SetOnCancelButtonClick([&](PushButton&) { ++cancels; });
    Button(Kind::bkFinish).Click();
    Button(Kind::bkCancel).Click();
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(wizard->ActivePage(), Page(0));
    EXPECT_EQ(host.ModalResult(), mrCancel);

    host.SetModalResult(mrNone);
    Page(0)->OnCancelButtonClick = [](TKWizardCustomPage&, bool& stop) { stop = true; };
    Button(Kind::bkCancel).Click();
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(host.ModalResult(), mrNone);
}

TEST_F(KWizardTest, PageEventsOfASwitchInOrderWhileTheDialogShows) {
    Build(3);
    wizard->Loaded();
    std::vector<std::string> log;
    auto record = [&](int i) {
        Page(i)->OnExitPage = [&log, this, i](TKWizardCustomPage& sender, TKWizardCustomPage* to) {
            EXPECT_EQ(&sender, Page(i));
            log.push_back("exit " + std::to_string(i) + " to " + (to ? to->Caption() : "none"));
        };
        Page(i)->OnEnterPage = [&log, this, i](TKWizardCustomPage& sender,
                                               TKWizardCustomPage* from) {
            EXPECT_EQ(&sender, Page(i));
            EXPECT_NE(wizard->ActivePage(), Page(i)); // not yet active
            log.push_back("enter " + std::to_string(i) + " from " +
                          (from ? from->Caption() : "none"));
        };
        Page(i)->OnPage = [&log, i](TKWizardCustomPage&) {
            log.push_back("page " + std::to_string(i));
        };
    };
    for (int i = 0; i < 3; ++i)
        record(i);

    // Not showing: no OnPage.
    wizard->SetActivePage(Page(1));
    EXPECT_EQ(log, (std::vector<std::string>{"exit 0 to page 1", "enter 1 from page 0"}));

    log.clear();
    ShowHost();
    wizard->SetActivePage(Page(2));
    EXPECT_EQ(log, (std::vector<std::string>{"exit 1 to page 2", "enter 2 from page 1", "page 2"}));

    // A disabled page hears nothing: disabling the active page moves to the
    // page before it (there is none after it) without its exit event.
    log.clear();
    Page(2)->SetEnabled(false);
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_EQ(log, (std::vector<std::string>{"enter 1 from page 2", "page 1"}));
    log.clear();
    wizard->SetActivePage(Page(2)); // refused
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_TRUE(log.empty());
}

TEST_F(KWizardTest, FocusGoesToTheFirstControlOfTheShownPage) {
    Build(2);
    PushButton first(Page(1)->Handle(), "First", RECT{10, 100, 90, 125}, host.Font());
    PushButton second(Page(1)->Handle(), "Second", RECT{10, 130, 90, 155}, host.Font());
    first.SetVisible(true);
    second.SetVisible(true);
    wizard->Loaded();
    ShowHost();
    wizard->SelectNextPage();
    EXPECT_EQ(GetFocus(), first.Handle());
    // Leaving moves the focus out of the hidden page.
    wizard->SelectPriorPage();
    EXPECT_FALSE(IsChild(Page(1)->Handle(), GetFocus()));
}

TEST_F(KWizardTest, EnterPressesNextOrFinishAndEscPressesCancel) {
    Build(3);
    Page(2)->SetVisibleButtons({Kind::bkBack, Kind::bkFinish, Kind::bkCancel});
    wizard->Loaded();
    int finishes = 0, cancels = 0;
    wizard->SetOnFinishButtonClick([&](PushButton&) { ++finishes; });
    wizard->SetOnCancelButtonClick([&](PushButton&) { ++cancels; });
    ShowHost();
    ASSERT_EQ(wizard->DefaultButton(), &Button(Kind::bkNext));
    EXPECT_TRUE(Button(Kind::bkNext).IsDefault());

    PressKey(VK_RETURN);
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    PressKey(VK_RETURN);
    EXPECT_EQ(wizard->ActivePage(), Page(2));
    EXPECT_EQ(wizard->DefaultButton(), &Button(Kind::bkFinish));
    EXPECT_TRUE(Button(Kind::bkFinish).IsDefault());
    EXPECT_FALSE(Button(Kind::bkNext).IsDefault());
    PressKey(VK_RETURN);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(wizard->ActivePage(), Page(2));

    PressKey(VK_ESCAPE);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(host.ModalResult(), mrCancel);

    // Without an enabled Finish, Enter does nothing.
    Page(2)->SetEnabledButtons({Kind::bkBack, Kind::bkCancel});
    EXPECT_EQ(wizard->DefaultButton(), nullptr);
    PressKey(VK_RETURN);
    EXPECT_EQ(finishes, 1);
}

TEST_F(KWizardTest, EnterOnAFocusedPushButtonPressesThatButton) {
    Build(2);
    int presses = 0;
    PushButton own(Page(0)->Handle(), "Own", RECT{10, 100, 90, 125}, host.Font());
    own.SetVisible(true);
    own.OnClick = [&](PushButton&) { ++presses; };
    wizard->Loaded();
    ShowHost();
    SetFocus(own.Handle());
    PressKey(VK_RETURN);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(wizard->ActivePage(), Page(0));
}

void CALLBACK PressEscape(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND focus = GetFocus())
        PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST_F(KWizardTest, EscEndsAModalDialog) {
    Build(2);
    wizard->Loaded();
    // Esc arrives once the dialog's own loop runs.
    SetTimer(nullptr, 0, 50, &PressEscape);
    EXPECT_EQ(host.ShowModal(), mrCancel);
    EXPECT_FALSE(IsWindowVisible(host.Handle()));
}

TEST_F(KWizardTest, DisablingOrDestroyingTheActivePageMovesOn) {
    Build(4);
    wizard->Loaded();
    wizard->SetActivePage(Page(1));
    Page(1)->SetEnabled(false);
    EXPECT_EQ(wizard->ActivePage(), Page(2)); // the next enabled one
    Page(3)->SetEnabled(false);
    Page(2)->SetEnabled(false);
    EXPECT_EQ(wizard->ActivePage(), Page(0)); // none after it: the one before
    Page(0)->SetEnabled(false);
    EXPECT_EQ(wizard->ActivePage(), nullptr);

    for (int i = 0; i < 4; ++i)
        Page(i)->SetEnabled(true);
    wizard->SetActivePage(Page(1));
    int exits = 0;
    Page(1)->OnExitPage = [&](TKWizardCustomPage&, TKWizardCustomPage*) { ++exits; };
    pages[1].reset(); // the active page is destroyed
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(wizard->PageCount(), 3);
    EXPECT_EQ(wizard->ActivePage(), Page(2));

    // Another page going leaves the active page where it is.
    pages[3].reset();
    EXPECT_EQ(wizard->PageCount(), 2);
    EXPECT_EQ(wizard->ActivePage(), Page(2));
    pages[2].reset();
    EXPECT_EQ(wizard->ActivePage(), nullptr); // nothing after it
    EXPECT_EQ(wizard->PageCount(), 1);
}

TEST_F(KWizardTest, APageMovedToAnotherWizardLeavesAndIsAppended) {
    Build(3);
    wizard->Loaded();
    HostDialog otherHost;
    TKWizard other(otherHost.Handle());
    TKWizardInteriorPage resident(other);
    other.Loaded();
    int exits = 0;
    Page(0)->OnExitPage = [&](TKWizardCustomPage&, TKWizardCustomPage* to) {
        ++exits;
        EXPECT_EQ(to, Page(1));
    };
    Page(0)->SetWizard(other);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(wizard->ActivePage(), Page(1));
    EXPECT_EQ(wizard->PageCount(), 2);
    EXPECT_EQ(other.PageCount(), 2);
    EXPECT_EQ(other.Pages()[1], Page(0));
    EXPECT_EQ(Page(0)->Wizard(), &other);
    EXPECT_EQ(GetParent(Page(0)->Handle()), other.Handle());
    EXPECT_EQ(other.ActivePage(), &resident);
    other.SetActivePage(Page(0));
    EXPECT_EQ(other.ActivePage(), Page(0));
    Page(0)->OnExitPage = nullptr;
    Page(0)->SetWizard(*wizard);            // back home before `other` goes
    EXPECT_EQ(other.ActivePage(), nullptr); // no page after it there
    EXPECT_EQ(wizard->Pages()[2], Page(0));
}

TEST_F(KWizardTest, GlyphsBecomeTheButtonsImages) {
    Build(1);
    wizard->Loaded();
    TKWizardNavigateButton& next = wizard->ButtonNext();
    next.SetNumGlyphs(2); // normal and disabled side by side
    next.SetLayout(TButtonLayout::blGlyphRight);
    next.SetGlyph(SolidPicture(32, 16, RGB(0, 128, 0)));
    BUTTON_IMAGELIST list{};
    ASSERT_TRUE(SendMessageW(Button(Kind::bkNext).Handle(), BCM_GETIMAGELIST, 0,
                             reinterpret_cast<LPARAM>(&list)));
    ASSERT_NE(list.himl, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list.himl), 6); // one per button state
    int width = 0, height = 0;
    ImageList_GetIconSize(list.himl, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(list.uAlign, UINT(BUTTON_IMAGELIST_ALIGN_RIGHT));
    EXPECT_EQ(next.Glyph().Width(), 32);

    next.SetGlyph(gui::Picture());
    SendMessageW(Button(Kind::bkNext).Handle(), BCM_GETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(&list));
    EXPECT_EQ(list.himl, nullptr);
}

TEST_F(KWizardTest, HelpOpensTheActivePagesHelpContext) {
    Build(1);
    wizard->Loaded();
    std::vector<int> opened;
    wizard->OnHelp = [&](TKWizard&, int context) { opened.push_back(context); };
    Button(Kind::bkHelp).Click(); // context 0: nothing
    Page(0)->SetHelpContext(42);
    Button(Kind::bkHelp).Click();
    wizard->SetActivePageIndex(-1);
    host.SetHelpContext(7);
    Button(Kind::bkHelp).Click();
    EXPECT_EQ(opened, (std::vector<int>{42, 7}));
}

TEST_F(KWizardTest, HeaderImagesReferenceIsDroppedWhenTheListGoes) {
    Build(1);
    wizard->Loaded();
    ShowHost();
    auto images = std::make_unique<ImageList>(16, 16);
    wizard->SetHeaderImages(images.get());
    EXPECT_EQ(wizard->HeaderImages(), images.get());
    ValidateRect(Page(0)->Handle(), nullptr);
    images->Clear(); // a change repaints the active page
    EXPECT_TRUE(GetUpdateRect(Page(0)->Handle(), nullptr, FALSE));
    images.reset();
    EXPECT_EQ(wizard->HeaderImages(), nullptr);
}

// ---- Page decorations

class PageDecorations : public KWizardTest {
protected:
    static constexpr COLORREF PageColour = RGB(10, 20, 30);
    static constexpr COLORREF HeaderColour = RGB(200, 0, 0);
    static constexpr COLORREF BandColour = RGB(0, 0, 200);
};

TEST_F(PageDecorations, InteriorPageHeaderWithDividerOverThePageColour) {
    Build(1);
    Page(0)->SetColor(PageColour);
    Page(0)->Header().SetColor(HeaderColour);
    Page(0)->Header().Title().SetText("");
    Page(0)->Header().Subtitle().SetText("");
    wizard->Loaded();
    const auto shot = Snapshot(Page(0)->Handle());
    EXPECT_EQ(shot.At(5, 5), HeaderColour);
    EXPECT_EQ(shot.At(300, 67), HeaderColour);
    EXPECT_EQ(shot.At(300, 68), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.At(300, 69), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shot.At(300, 70), PageColour);
    EXPECT_EQ(shot.At(639, 337), PageColour);
    const RECT area = Page(0)->ChildArea();
    EXPECT_EQ(ToString(area), "0,70-640,338");
}

TEST_F(PageDecorations, InvisibleHeaderTakesNoSpace) {
    Build(1);
    Page(0)->SetColor(PageColour);
    Page(0)->Header().SetVisible(false);
    RECT aligned{};
    Page(0)->OnAlign = [&](TKWizardCustomPage&, const RECT& area) { aligned = area; };
    wizard->Loaded();
    // The body picture, stretched by default, now starts at the top.
    Page(0)->Image().SetPicture(SolidPicture(4, 4, BandColour));
    const auto shot = Snapshot(Page(0)->Handle());
    EXPECT_EQ(shot.At(5, 0), BandColour);
    EXPECT_EQ(shot.At(639, 337), BandColour);
    EXPECT_EQ(ToString(Page(0)->ChildArea()), "0,0-640,338");
    Page(0)->Header().SetVisible(true);
    EXPECT_EQ(ToString(aligned), "0,70-640,338"); // told to re-align
}

TEST_F(PageDecorations, WelcomePageWatermarkBandAndHeaderBesideIt) {
    Build(0);
    TKWizardWelcomePage welcome(*wizard);
    EXPECT_EQ(welcome.Header().Title().Text(), "Welcome");
    EXPECT_FALSE(welcome.Header().ShowDivider());
    EXPECT_EQ(welcome.Color(), clWindow);
    EXPECT_EQ(welcome.WaterMark().Width(), 164);
    EXPECT_EQ(welcome.WaterMark().BorderWidth(), 1);
    EXPECT_EQ(welcome.WaterMark().Color(), clActiveCaption);
    welcome.SetColor(PageColour);
    welcome.WaterMark().SetColor(BandColour);
    welcome.Header().SetColor(HeaderColour);
    welcome.Header().Title().SetText("");
    welcome.Header().Subtitle().SetText("");
    wizard->Loaded();
    const auto shot = Snapshot(welcome.Handle());
    EXPECT_EQ(shot.At(0, 100), PageColour); // the border of page colour
    EXPECT_EQ(shot.At(1, 1), BandColour);
    EXPECT_EQ(shot.At(162, 336), BandColour);
    EXPECT_EQ(shot.At(163, 100), PageColour);
    EXPECT_EQ(shot.At(0, 337), PageColour);
    EXPECT_EQ(shot.At(164, 0), HeaderColour);  // the header starts beside the band
    EXPECT_EQ(shot.At(639, 69), HeaderColour); // no divider
    EXPECT_EQ(shot.At(164, 70), PageColour);
    EXPECT_EQ(ToString(welcome.ChildArea()), "164,70-640,338");
}

TEST_F(PageDecorations, HeaderTitlesTakeThePageFontsNameAndCharacterSet) {
    Build(1);
    TKWizardPageHeader& header = Page(0)->Header();
    EXPECT_EQ(header.Height(), 70);
    EXPECT_EQ(header.Color(), clWindow);
    EXPECT_EQ(header.Title().Text(), "Title");
    EXPECT_EQ(header.Subtitle().Text(), "Subtitle");
    EXPECT_EQ(header.Title().Font().size, 12);
    EXPECT_TRUE(header.Title().Font().bold);
    EXPECT_EQ(header.Title().Font().name, Page(0)->Font().name);

    FontSpec pageFont = Page(0)->Font();
    pageFont.name = "Courier New";
    pageFont.charset = GREEK_CHARSET;
    pageFont.size = 20;
    Page(0)->SetFont(pageFont);
    EXPECT_EQ(header.Title().Font().name, "Courier New");
    EXPECT_EQ(header.Subtitle().Font().charset, GREEK_CHARSET);
    EXPECT_EQ(header.Title().Font().size, 12); // only name and character set

    FontSpec own;
    own.name = "Arial";
    header.Title().SetFont(own); // ignored while the page's font is used
    EXPECT_EQ(header.Title().Font().name, "Courier New");
    header.Title().SetFontSize(16); // single attributes are taken
    EXPECT_EQ(header.Title().Font().size, 16);
    header.SetParentFont(false);
    header.Title().SetFont(own);
    EXPECT_EQ(header.Title().Font().name, "Arial");
    header.SetParentFont(true);
    EXPECT_EQ(header.Title().Font().name, "Courier New");
}

TEST_F(PageDecorations, ALongTitleIsWrappedAndClippedToItsLine) {
    Build(1);
    TKWizardPageHeader& header = Page(0)->Header();
    header.SetColor(RGB(255, 255, 255));
    header.SetShowDivider(false);
    header.Subtitle().SetText("");
    header.Title().SetFontColor(RGB(255, 0, 0));
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word" + std::to_string(i) + " ";
    header.Title().SetText(text);
    wizard->Loaded();

    base::Font font = header.Title().Font().Create(96);
    base::WindowDc screen(nullptr);
    TEXTMETRICW metrics{};
    {
        base::SelectObjectScope select(screen.Get(), font.Get());
        GetTextMetricsW(screen.Get(), &metrics);
    }
    const int lineBottom = 4 + metrics.tmHeight;
    const auto shot = Snapshot(Page(0)->Handle());
    auto red = [&](int x, int y) {
        const COLORREF c = shot.At(x, y);
        return GetRValue(c) > 150 && GetGValue(c) < 120 && GetBValue(c) < 120;
    };
    int inside = 0, outside = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 640; ++x) {
            if (!red(x, y))
                continue;
            if (y >= 4 && y < lineBottom && x >= 4 && x < 636)
                ++inside;
            else
                ++outside;
        }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
}

TEST_F(PageDecorations, PanelFrameAndPaintPageEvent) {
    Build(1);
    Page(0)->SetColor(PageColour);
    Page(0)->Panel().SetVisible(true);
    Page(0)->Panel().SetColor(BandColour);
    wizard->Loaded();
    {
        const auto shot = Snapshot(Page(0)->Handle());
        // Body from y 70; the panel 7 pixels in, its etched frame 2 pixels.
        EXPECT_EQ(shot.At(6, 200), PageColour);
        EXPECT_EQ(shot.At(7, 200), GetSysColor(COLOR_BTNSHADOW));
        EXPECT_EQ(shot.At(8, 200), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(shot.At(9, 200), BandColour);
        EXPECT_EQ(shot.At(300, 79), BandColour);
        EXPECT_EQ(shot.At(300, 78), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(shot.At(300, 77), GetSysColor(COLOR_BTNSHADOW));
    }
    RECT given{};
    Page(0)->OnPaintPage = [&](TKWizardCustomPage&, HDC, RECT& body) { given = body; };
    const auto shot = Snapshot(Page(0)->Handle());
    EXPECT_EQ(ToString(given), "0,70-640,338");
    EXPECT_EQ(shot.At(9, 200), PageColour); // the event replaced the body
}

} // namespace
} // namespace brevalo::controls
