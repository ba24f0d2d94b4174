#include "report/error_report_presenter.h"

#include <gtest/gtest.h>

#include "../commands/command_test_env.h"
#include "support/fake_locale_format.h"
#include "support/fake_report_system.h"

namespace ovp {
namespace {

using test::FakeHttpAnswer;

class RecordingReportView : public IErrorReportView {
  public:
    void Render(const ErrorReportViewState& state) override {
        rendered = state;
        if (onRender) {
            onRender(state);
        }
    }
    void ShowPreview(const ReportPreview& shown) override {
        preview = shown.body;
        previewCaptions = shown.title + "|" + shown.closeCaption;
    }
    void Close() override { closed = true; }
    std::uintptr_t Handle() override { return 77; }

    ErrorReportViewState rendered;
    std::function<void(const ErrorReportViewState&)> onRender;
    std::string preview, previewCaptions;
    bool closed = false;
};

class ErrorReportPresenterTest : public ::testing::Test {
  protected:
    void SetUp() override { form_.Form_Load(); }
    test::FakeHttp& Http() { return fx_.fx.http; }
    // The messages shown, each ended by "|".
    std::string Shown() {
        const std::string text = fx_.box.Messages();
        fx_.box.shown.clear();
        return text;
    }
    void Type(std::string_view from, std::string_view message) {
        form_.txtFrom_Change(std::string(from));
        form_.txtMsg_Change(std::string(message));
    }

    test::CommandFixture fx_;
    test::FakeReportSystem system_;
    test::FakeLocaleFormat locale_;
    ErrorReportBody body_{fx_.Context(), system_, locale_};
    WebDavControl dav_{fx_.Context()};
    HttpFunctions http_{fx_.Context(), dav_};
    RecordingReportView view_;
    frmErrorReport1 form_{fx_.Context(), fx_.box, view_, body_, http_};
};

TEST_F(ErrorReportPresenterTest, TheWindowOpensWithItsDefaultsAndLogsUnticked) {
    const ErrorReportViewState& s = view_.rendered;
    EXPECT_EQ(std::tuple(s.title, s.subject, s.to, s.fromName, s.attachLogs),
              std::tuple("Send your feedback to the technical support team", "Grp Caption : user feedback",
                         "Grp Caption support team", "alice", false));
}

TEST_F(ErrorReportPresenterTest, TheTicketNumberRewritesTheSubject) {
    form_.txtTicketNumber_Change(" 4711 ");
    EXPECT_EQ(view_.rendered.subject, "Grp Caption Ticket : 4711");
    form_.txtTicketNumber_Change("");
    EXPECT_EQ(view_.rendered.subject, "Grp Caption: user feedback");
}

TEST_F(ErrorReportPresenterTest, TheContactNumberTakesOnlyPhoneCharactersAlsoWhenPasted) {
    for (const char32_t key : {U'0', U'9', U'\b', U' ', U'-', U'_', U'(', U')'}) {
        EXPECT_TRUE(form_.txtContactNumber_KeyPress(key)) << static_cast<int>(key);
    }
    for (const char32_t key : {U'a', U'+', U'&', U'=', U'\u0661'}) {
        EXPECT_FALSE(form_.txtContactNumber_KeyPress(key)) << static_cast<int>(key);
    }
    form_.txtContactNumber_Change("+49 (30) 12&CONTENT=x");
    EXPECT_EQ(view_.rendered.contactNumber, "49 (30) 12");
}

TEST_F(ErrorReportPresenterTest, TheChecksComeInOrderAndNothingIsSentUntilTheyPass) {
    struct Case {
        std::string_view from, message, shown, fromAfter;
    };
    const Case cases[] = {
        {"me@example.com", "", "Enter the feedback/query.|", "me@example.com"},
        {"   ", "hi", "Enter your email address.|", "   "},
        {"me@example", "hi", "Enter a valid email address.|", ""},
        {"me@x@example.com", "hi", "Enter a valid email address.|", ""},
    };
    for (const Case& c : cases) {
        Type(c.from, c.message);
        form_.cmdSend_Click();
        EXPECT_EQ(Shown(), c.shown) << c.from;
        EXPECT_EQ(form_.State().from, c.fromAfter) << c.from;
    }
    EXPECT_TRUE(Http().requests.empty());
}

TEST_F(ErrorReportPresenterTest, AReportIsSentOnceAcceptedAndTriedThreeTimesOtherwise) {
    Type(" me@example.com ", "   ");  // blanks count as a message
    form_.cmdSend_Click();
    ASSERT_EQ(Http().requests.size(), 1u);
    EXPECT_EQ(Http().requests[0].object, "/cgi-bin/Notify_unicode");
    EXPECT_TRUE(Http().requests[0].body.ends_with("&user_email=me%40example%2Ecom"));
    EXPECT_EQ(form_.State().success, "Sent Successfully!");
    EXPECT_EQ(Shown(), "The error report has been sent successfully.|");

    Http().requests.clear();
    Http().answers = {FakeHttpAnswer::Status(500), FakeHttpAnswer::Status(500), FakeHttpAnswer::Status(500)};
    form_.cmdSend_Click();
    EXPECT_EQ(Http().requests.size(), 3u);
    EXPECT_EQ(form_.State().success, "");
    EXPECT_EQ(Shown(), "Your email could not be sent. Fill up the feedback form at  https://www.example.com/feedback|");
    EXPECT_TRUE(view_.rendered.sendEnabled && view_.rendered.closeEnabled);
}

TEST_F(ErrorReportPresenterTest, CloseAndSubmitWaitWhileAReportIsOnItsWay) {
    Type("me@example.com", "hi");
    int refusedCloses = 0;
    view_.onRender = [&](const ErrorReportViewState& state) {
        if (!state.sendEnabled) {
            refusedCloses += form_.cmdExit_Click() ? 0 : 1;
            form_.cmdSend_Click();
        }
    };
    form_.cmdSend_Click();
    EXPECT_EQ(refusedCloses, 1);
    EXPECT_EQ(Http().requests.size(), 1u);
    EXPECT_FALSE(view_.closed);
    view_.onRender = nullptr;
    EXPECT_TRUE(form_.cmdExit_Click());
    EXPECT_TRUE(view_.closed);
}

TEST_F(ErrorReportPresenterTest, ThePreviewShowsTheBodyExactlyAsItWillTravel) {
    test::WriteAll(fx_.UserFile("TraceFile.txt"), "secret-free trace\r\n");
    Type("me@example.com", "hello");
    form_.cmdPreview_Click();
    EXPECT_NE(view_.preview.find("\r\nhello"), std::string::npos);
    EXPECT_EQ(view_.preview.find("trace"), std::string::npos);  // unticked: no logs
    form_.chkLogs_Click(true);
    form_.cmdPreview_Click();
    EXPECT_NE(view_.preview.find("TraceFile Contents *\n\nsecret%2Dfree%20trace"), std::string::npos);
    EXPECT_TRUE(Http().requests.empty());

    form_.cmdSend_Click();
    ASSERT_EQ(Http().requests.size(), 1u);
    EXPECT_NE(Http().requests[0].body.find("&CONTENT=" + view_.preview), std::string::npos);
}

// Every text of the language file is "<id> Tallux", so what came from it is told from English.
class TranslatedErrorReportTest : public ErrorReportPresenterTest {
  protected:
    TranslatedErrorReportTest() {
        std::string language;
        for (int id = 5000; id < 5700; ++id) {
            language += std::to_string(id) + "=<" + std::to_string(id) + "> Tallux\n";
        }
        CreateFolders(fx_.fx.app / "Lang");
        test::WriteAll(fx_.fx.app / "Lang" / "English.txt", language);
    }
};

TEST_F(TranslatedErrorReportTest, EveryTextIsTranslatedAndCaptionsKeepTheirEnglishRoom) {
    const ErrorReportViewState& s = view_.rendered;
    for (const std::string* text : {&s.title,          &s.feedbackCaption,
                                    &s.toCaption,      &s.fromNameCaption,
                                    &s.fromCaption,    &s.contactCaption,
                                    &s.ticketCaption,  &s.ticketHint,
                                    &s.subjectCaption, &s.messageCaption,
                                    &s.fromNameTip,    &s.fromTip,
                                    &s.contactTip,     &s.ticketTip,
                                    &s.logsTip,        &s.sendTip,
                                    &s.closeTip,       &s.logsCaption,
                                    &s.sendCaption,    &s.closeCaption,
                                    &s.previewCaption, &s.to}) {
        EXPECT_TRUE(text->starts_with("<5")) << *text;
    }
    // A caption longer than its English is cut, with no room for dots in "To:".
    EXPECT_EQ(s.messageCaption, "<5609...");
    EXPECT_EQ(s.toCaption, "<56");
    // The subject travels to the support team: it stays as the team reads it.
    EXPECT_EQ(s.subject, "Grp Caption : user feedback");

    for (const auto& [from, message] :
         {std::pair{"", ""}, {"   ", "hi"}, {"me@example", "hi"}, {"me@example.com", "hi"}}) {
        Type(from, message);
        form_.cmdSend_Click();
    }
    EXPECT_EQ(form_.State().success, "<5620> Grp Caption");
    Http().answers = {FakeHttpAnswer::Status(500), FakeHttpAnswer::Status(500), FakeHttpAnswer::Status(500)};
    form_.cmdSend_Click();
    EXPECT_EQ(Shown(),
              "<5621> Grp Caption|<5622> Grp Caption|<5623> Grp Caption|<5624> Grp Caption|"
              "<5625> Grp Caption https://www.example.com/feedback|");
    form_.cmdPreview_Click();
    EXPECT_EQ(view_.previewCaptions, "<5626> Grp Caption|<5...");
}

}  // namespace
}  // namespace ovp
