#include "ui/failure_notification.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "support/app_fixture.h"

namespace ovp {
namespace {

class RecordingFailureView : public IFailureNotificationView, public IFailureLinks {
  public:
    void Show(const FailureNotificationState& state) override { shown.push_back(state); }
    void Close() override {}
    void Follow(FailureLink /*link*/) override {}
    std::vector<FailureNotificationState> shown;
};

// The number of days is the one given; a translation of the first text that lacks its closing
// blank gets one, and the brand word is the product's. The language file words the links too.
TEST(FailureNotificationTest, TheSentenceNamesTheMissedDays) {
    const struct {
        const char* texts;
        std::int64_t days;
        const char* sentence;
        const char* words;  // the links, the reason, the support line and Close, each ended by "|"
    } cases[] = {
        {"", 12, "The scheduled backup has not taken place for the past 12 day(s). Do you want to ",
         "view the logs?|Possibly, your computer is shut down at the time of the scheduled job. To modify the "
         "schedule,                |click here.|For further assistance, .|Send Error Report|Close|"},
        {"956=Tallux sichert seit\n1599= Tag(en).\n1708=Wollen Sie\n5700=Protokolle sehen?\n5701=Aus?\n"
         "5702=hier.\n5703=Hilfe, .\n5704=Fehlerbericht\n5705=Schliessen\n",
         7, "Grp Online sichert seit 7 Tag(en). Wollen Sie ",
         "Protokolle sehen?|Aus?|hier.|Hilfe, .|Fehlerbericht|Schliessen|"},
    };
    for (const auto& c : cases) {
        test::AppFixture fx;
        fx.WriteConfiguration();
        CreateFolders(fx.app / "Lang");
        test::WriteAll(fx.app / "Lang" / "English.txt", c.texts);
        RecordingFailureView view;
        frmFailureNotification form(fx.Context(), view, view);
        form.ShowMissedBackups(c.days);
        ASSERT_EQ(view.shown.size(), 1u);
        const FailureNotificationState& shown = view.shown[0];
        EXPECT_EQ(shown.sentence, c.sentence);
        EXPECT_EQ(shown.viewLogLink + "|" + shown.reason + "|" + shown.schedulerLink + "|" + shown.support + "|" +
                      shown.errorReportLink + "|" + shown.closeCaption + "|",
                  c.words);
        EXPECT_EQ(view.shown[0].handCursor, fx.app / "Images" / "Hand.ico");
    }
}

}  // namespace
}  // namespace ovp
