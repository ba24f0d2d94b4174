#include "report/error_report_presenter.h"

#include "base/resume_next.h"
#include "base/text.h"
#include "contract/configuration.h"
#include "contract/trace.h"
#include "net/email_address.h"

namespace ovp {

namespace {

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

void frmErrorReport1::Form_Load() {
    ResumeNext([&] {
        const std::string product = Product();
        ErrorReportViewState& s = state_;
        s.title = std::string(report_text::kTitle);
        s.feedbackCaption = "Feedback on " + product;
        s.toCaption = "To:";
        s.fromNameCaption = "User Name:";
        s.fromCaption = "Email Address:";
        s.contactCaption = "Contact No:";
        s.ticketCaption = "Trouble Ticket No: ";
        s.ticketHint = "     (If created already)";
        s.subjectCaption = "Subject:";
        s.messageCaption = "Message:";
        s.fromNameTip = product + " User Name";
        s.fromTip = product + " User's Email ID.";
        s.contactTip = product + " User's Contact Number";
        s.ticketTip = "Enter your trouble ticket number (If created already)";
        s.logsCaption = "Attach log / trace files";
        s.logsTip = "Send the log files to " + product + " support team.";
        s.sendCaption = "Submit";
        s.closeCaption = "Close";
        s.previewCaption = "What will be sent...";
        s.to = product + " support team";
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
        Notify(report_text::kEnterMessage);
        return false;
    }
    if (Trim(state_.from).empty()) {
        Notify(report_text::kEnterEmail);
        return false;
    }
    if (!IsValidEmail(Trim(state_.from))) {
        Notify(report_text::kInvalidEmail);
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
                state_.success = std::string(report_text::kSentLabel);
            }
        }
        if (sent) {
            Notify(report_text::kSentMessage);
        } else {
            Notify(std::string(report_text::kNotSent) + " " + context_.settings.endpoints.feedbackLink);
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
        view_.ShowPreview(std::string(report_text::kPreviewTitle), body);
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
