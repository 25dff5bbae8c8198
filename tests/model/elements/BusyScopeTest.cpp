#include "model/elements/BusyScope.h"

#include <gtest/gtest.h>

#include <string>

#include "model/elements/ElementUi.h"

namespace {

// Records the status words shown.
class StatusUi : public NullElementUi {
public:
    StatusUi() { SetElementUi(this); }
    ~StatusUi() override { SetElementUi(nullptr); }
    void SetBusy(const char* word) override { words += std::string(word) + " "; }
    void SetReady() override { words += "READY "; }
    std::string words;
};

int Fail(const char* word) {
    BusyScope busy(word);
    return 1; // an early return path
}

} // namespace

TEST(BusyScope, ShowsReadyOnlyWhenTheOutermostScopeEnds) {
    StatusUi ui;
    {
        BusyScope loading("LOADING");
        EXPECT_EQ(Fail("COMPILING"), 1);
        { BusyScope again("COMPILING"); }
    }
    EXPECT_EQ(ui.words, "LOADING COMPILING LOADING COMPILING LOADING READY ");
    ui.words.clear();
    EXPECT_EQ(Fail("SAVING"), 1);
    EXPECT_EQ(ui.words, "SAVING READY ");
}
