// The choice of a Run value name among timers that end in the same second.
#include "RunValueName.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace brevalo {
namespace {

// The Run key and the names running timers hold, as one computer has them.
class FakeNames : public RunValueNames {
public:
    std::map<std::string, std::string> values;
    std::set<std::string> held;
    std::vector<std::string> claimed; // every name asked for, in order

    std::optional<std::string> ExistingData(const std::string& name) override {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool Claim(const std::string& name) override {
        claimed.push_back(name);
        return held.insert(name).second;
    }

    // A timer that starts: it chooses, claims and writes its value.
    std::string Start(const std::string& end, const std::string& data) {
        const std::string name = ChooseRunValueName(end, data, *this);
        values[name] = data;
        return name;
    }
    // The session ends or the processes are killed: every claim goes.
    void EndProcesses() { held.clear(); }
};

const std::string End = "12/7/2026 7:06:00 PM";

TEST(RunValueName, TimersEndingInOneSecondGetNamesOfTheirOwn) {
    EXPECT_EQ(RunValueCandidate(End, 1), End);
    EXPECT_EQ(RunValueCandidate(End, 2), End + " (2)");
    EXPECT_EQ(RunValueCandidate(End, 12), End + " (12)");

    FakeNames names;
    EXPECT_EQ(names.Start(End, "b.exe /cA"), End);
    EXPECT_EQ(names.Start(End, "b.exe /cB"), End + " (2)");
    // The same command line twice is still two timers while both run.
    EXPECT_EQ(names.Start(End, "b.exe /cB"), End + " (3)");
    EXPECT_EQ(names.values.size(), 3u);
}

TEST(RunValueName, AResumedTimerTakesUpItsOwnValueAndNoOneElses) {
    FakeNames names;
    names.Start(End, "b.exe /cA");
    names.Start(End, "b.exe /cB");
    names.EndProcesses();

    // At the next log-on B may start first: A's value is left to A, whose
    // process is not there yet, and B finds its own.
    EXPECT_EQ(names.Start(End, "b.exe /cB"), End + " (2)");
    EXPECT_EQ(names.Start(End, "b.exe /cA"), End);
    EXPECT_EQ(names.values.size(), 2u) << "a resumed timer added a second value";
    // A value never seen before is no one's to take: a new timer goes on.
    EXPECT_EQ(names.Start(End, "b.exe /cC"), End + " (3)");
}

TEST(RunValueName, OnlyAFreeNameIsClaimedAndTheSearchEnds) {
    FakeNames names;
    names.values[End] = "other";
    names.held.insert(End + " (2)");
    EXPECT_EQ(ChooseRunValueName(End, "mine", names), End + " (3)");
    // Another timer's value is passed over without claiming its name.
    EXPECT_EQ(names.claimed, (std::vector<std::string>{End + " (2)", End + " (3)"}));

    FakeNames full;
    for (int n = 1; n <= MaxRunValueCandidates; ++n)
        full.held.insert(RunValueCandidate(End, n));
    EXPECT_EQ(ChooseRunValueName(End, "mine", full),
              RunValueCandidate(End, MaxRunValueCandidates + 1));
}

} // namespace
} // namespace brevalo
