#include "report/error_report_presenter.h"

#include <utility>

#include "base/resume_next.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "contract/locale_file.h"
#include "contract/trace.h"
#include "net/email_address.h"
#include "ui/captions.h"
#include "ui/tooltips.h"

namespace ovp {

namespace {

constexpr int kTextTitle = 5600;
constexpr int kTextFeedbackOn = 5601;
constexpr int kTextTo = 5602;
constexpr int kTextUserName = 5603;
constexpr int kTextEmailAddress = 5604;
constexpr int kTextContactNo = 5605;
constexpr int kTextTicketNo = 5606;
constexpr int kTextTicketHint = 5607;
constexpr int kTextSubject = 5608;
constexpr int kTextMessage = 5609;
constexpr int kTextAttachLogs = 5610;
constexpr int kTextSubmit = 5611;
constexpr int kTextClose = 5612;
constexpr int kTextWhatWillBeSentLink = 5613;
constexpr int kTextSupportTeam = 5614;
constexpr int kTextUserNameTip = 5615;
constexpr int kTextEmailTip = 5616;
constexpr int kTextContactTip = 5617;
constexpr int kTextTicketTip = 5618;
constexpr int kTextLogsTip = 5619;
constexpr int kTextSentLabel = 5620;
constexpr int kTextEnterMessage = 5621;
constexpr int kTextEnterEmail = 5622;
constexpr int kTextInvalidEmail = 5623;
constexpr int kTextSentMessage = 5624;
constexpr int kTextNotSent = 5625;
constexpr int kTextPreviewTitle = 5626;

// The default subject goes to the support team as it stands, so it is never translated.
constexpr std::string_view kSubjectSuffix = " : user feedback";
constexpr std::string_view kClearedSubjectSuffix = ": user feedback";
constexpr std::string_view kTicketLabel = " Ticket : ";

// Marks the window busy for the lifetime of a send or preview: the body's readers let window
// events run, so a second click or Close could otherwise arrive in the middle.
class BusyScope {
  public:
    BusyScope(bool& busy, ErrorReportViewState& state, IErrorReportView& view)
        : busy_(busy), state_(state), view_(view) {
        busy_ = true;
        state_.sendEnabled = false;
        state_.closeEnabled = false;
        view_.Render(state_);
    }
    ~BusyScope() {
        busy_ = false;
        state_.sendEnabled = true;
        state_.closeEnabled = true;
        ResumeNext([&] { view_.Render(state_); });
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
    ErrorReportViewState& state_;
    IErrorReportView& view_;
};

}  // namespace

bool IsContactNumberKey(char32_t key) {
    return (key >= U'0' && key <= U'9') || key == U'\b' || key == U' ' || key == U'-' || key == U'_' || key == U'(' ||
           key == U')';
}

std::string FilterContactNumber(std::string_view text) {
    std::string kept;
    for (const char ch : text) {
        if (ch != '\b' && IsContactNumberKey(static_cast<unsigned char>(ch))) {
            kept += ch;
        }
    }
    return kept;
}

std::string frmErrorReport1::Product() const {
    return DisplayName(context_.settings);
}

std::string frmErrorReport1::Caption(int id, std::string_view english) const {
    return WindowCaption(context_.texts, id, english, Product());
}

std::string frmErrorReport1::Text(int id, std::string_view english) const {
    return LocaleStringOr(context_.texts, id, english, Product());
}

void frmErrorReport1::Form_Load() {
    ResumeNext([&] {
        const std::string product = Product();
        ErrorReportViewState& s = state_;
        // The labels, the buttons and the link have the room of their English text; the titles,
        // the tips and the read-only box have room for any length.
        s.title = Text(kTextTitle, "Send your feedback to the technical support team");
        s.feedbackCaption = Caption(kTextFeedbackOn, "Feedback on " + product);
        s.toCaption = Caption(kTextTo, "To:");
        s.fromNameCaption = Caption(kTextUserName, "User Name:");
        s.fromCaption = Caption(kTextEmailAddress, "Email Address:");
        s.contactCaption = Caption(kTextContactNo, "Contact No:");
        s.ticketCaption = Caption(kTextTicketNo, "Trouble Ticket No: ");
        s.ticketHint = Caption(kTextTicketHint, "     (If created already)");
        s.subjectCaption = Caption(kTextSubject, "Subject:");
        s.messageCaption = Caption(kTextMessage, "Message:");
        s.fromNameTip = Text(kTextUserNameTip, product + " User Name");
        s.fromTip = Text(kTextEmailTip, product + " User's Email ID.");
        s.contactTip = Text(kTextContactTip, product + " User's Contact Number");
        s.ticketTip = Text(kTextTicketTip, "Enter your trouble ticket number (If created already)");
        s.logsCaption = Caption(kTextAttachLogs, "Attach log / trace files");
        s.logsTip = Text(kTextLogsTip, "Send the log files to " + product + " support team.");
        s.sendCaption = Caption(kTextSubmit, "Submit");
        s.closeCaption = Caption(kTextClose, "Close");
        s.sendTip = ToolTipText(context_.texts, "frmErrorReport1.cmdSend", product);
        s.closeTip = ToolTipText(context_.texts, "frmErrorReport1.cmdExit", product);
        s.previewCaption = Caption(kTextWhatWillBeSentLink, "What will be sent...");
        s.to = Text(kTextSupportTeam, product + " support team");
        s.fromName = context_.values.CurrentUserName();
        s.subject = product + std::string(kSubjectSuffix);
        // Logs are private: they go only when the user ticks the box.
        s.attachLogs = false;
        view_.Render(s);
    });
}

void frmErrorReport1::txtFrom_Change(const std::string& text) {
    state_.from = text;
}

void frmErrorReport1::txtContactNumber_Change(const std::string& text) {
    // A paste passes the key filter by, so the text is filtered again as a whole.
    state_.contactNumber = FilterContactNumber(text);
    if (state_.contactNumber != text) {
        ResumeNext([&] { view_.Render(state_); });
    }
}

bool frmErrorReport1::txtContactNumber_KeyPress(char32_t key) {
    return IsContactNumberKey(key);
}

void frmErrorReport1::txtTicketNumber_Change(const std::string& text) {
    state_.ticketNumber = text;
    const std::string ticket = Trim(text);
    state_.subject = ticket.empty() ? Product() + std::string(kClearedSubjectSuffix)
                                    : Product() + std::string(kTicketLabel) + ticket;
    ResumeNext([&] { view_.Render(state_); });
}

void frmErrorReport1::txtSubject_Change(const std::string& text) {
    state_.subject = text;
}

void frmErrorReport1::txtMsg_Change(const std::string& text) {
    state_.message = text;
}

void frmErrorReport1::chkLogs_Click(bool checked) {
    state_.attachLogs = checked;
}

void frmErrorReport1::Notify(std::string_view message) {
    MessageBoxRequest request;
    request.message = std::string(message);
    request.iconKind = "info";
    request.firstCaption = "OK";
    request.secondCaption = "Close";
    request.title = context_.settings.caption;
    request.owner = view_.Handle();
    messageBox_.Show(request);
}

bool frmErrorReport1::Validate() {
    if (state_.message.empty()) {
        Notify(Text(kTextEnterMessage, "Enter the feedback/query."));
        return false;
    }
    if (Trim(state_.from).empty()) {
        Notify(Text(kTextEnterEmail, "Enter your email address."));
        return false;
    }
    if (!IsValidEmail(Trim(state_.from))) {
        Notify(Text(kTextInvalidEmail, "Enter a valid email address."));
        state_.from.clear();
        view_.Render(state_);
        return false;
    }
    return true;
}

std::string frmErrorReport1::BuildBody() {
    ReportForm form;
    form.email = Trim(state_.from);
    form.contactNumber = FilterContactNumber(state_.contactNumber);
    form.message = state_.message;
    return body_.Build(form, state_.attachLogs);
}

void frmErrorReport1::cmdSend_Click() {
    if (busy_) {
        return;
    }
    ResumeNext([&] {
        if (!Validate()) {
            return;
        }
        state_.success.clear();
        bool sent = false;
        {
            BusyScope busy(busy_, state_, view_);
            const std::string body = BuildBody();
            const auto trace = [&](std::string_view text) {
                context_.serviceTrace.WriteTrace(TraceLine(context_.ports.clock, "", text));
            };
            trace("Call SendEmail ");
            for (int attempt = 0; attempt < kReportSendTries && !sent; ++attempt) {
                sent = http_.SendEmail(context_.settings.endpoints.supportMail, Trim(state_.subject), body,
                                       Trim(state_.from));
            }
            trace("End SendEmail");
            if (sent) {
                state_.success = Caption(kTextSentLabel, "Sent Successfully!");
            }
        }
        if (sent) {
            Notify(Text(kTextSentMessage, "The error report has been sent successfully."));
        } else {
            Notify(Text(kTextNotSent, "Your email could not be sent. Fill up the feedback form at ") + " " +
                   context_.settings.endpoints.feedbackLink);
        }
    });
}

void frmErrorReport1::cmdPreview_Click() {
    if (busy_) {
        return;
    }
    ResumeNext([&] {
        std::string body;
        {
            BusyScope busy(busy_, state_, view_);
            body = BuildBody();
        }
        view_.ShowPreview(
            ReportPreview{Text(kTextPreviewTitle, "What will be sent"), Caption(kTextClose, "Close"), std::move(body)});
    });
}

bool frmErrorReport1::cmdExit_Click() {
    if (busy_) {
        return false;
    }
    ResumeNext([&] { view_.Close(); });
    return true;
}

}  // namespace ovp
