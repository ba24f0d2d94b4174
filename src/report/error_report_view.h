#pragma once
// The error report window `frmErrorReport1` as its presenter sees the view: every text, caption,
// tooltip and state the window shows, and what the view reports back.

#include <cstdint>
#include <string>

namespace ovp {

struct ErrorReportViewState {
    std::string title;            // the window's title
    std::string feedbackCaption;  // `lblfeedback`
    std::string toCaption, fromNameCaption, fromCaption, contactCaption, ticketCaption, ticketHint, subjectCaption,
        messageCaption;
    std::string fromNameTip, fromTip, contactTip, ticketTip, logsTip, sendTip, closeTip;
    std::string logsCaption;     // `chkLogs`
    std::string sendCaption;     // `cmdSend`
    std::string closeCaption;    // `cmdExit`
    std::string previewCaption;  // `cmdPreview`

    // The text boxes.
    std::string to;        // `txtTo`, read-only
    std::string fromName;  // `txtFromName`
    std::string from;      // `txtFrom`
    std::string contactNumber;
    std::string ticketNumber;
    std::string subject;
    std::string message;
    bool attachLogs = false;

    std::string success;  // `lblSuccess`
    // While a report is sent (and window events run), neither Submit nor Close acts.
    bool sendEnabled = true;
    bool closeEnabled = true;
};

// The "what will be sent" view: its captions and the body exactly as it will travel.
struct ReportPreview {
    std::string title;
    std::string closeCaption;
    std::string body;
};

class IErrorReportView {
  public:
    virtual ~IErrorReportView() = default;
    // Sets every control to the state; a text box whose text already equals its value is left
    // alone, so that typing keeps its caret.
    virtual void Render(const ErrorReportViewState& state) = 0;
    // Shows the preview until the user closes it.
    virtual void ShowPreview(const ReportPreview& preview) = 0;
    virtual void Close() = 0;
    // The window's handle, as the owner of the message boxes.
    virtual std::uintptr_t Handle() = 0;
};

class IErrorReportEvents {
  public:
    virtual ~IErrorReportEvents() = default;
    virtual void Form_Load() = 0;
    virtual void txtFrom_Change(const std::string& text) = 0;
    virtual void txtContactNumber_Change(const std::string& text) = 0;
    // False when the typed character is to be discarded.
    virtual bool txtContactNumber_KeyPress(char32_t key) = 0;
    virtual void txtTicketNumber_Change(const std::string& text) = 0;
    virtual void txtSubject_Change(const std::string& text) = 0;
    virtual void txtMsg_Change(const std::string& text) = 0;
    virtual void chkLogs_Click(bool checked) = 0;
    virtual void cmdSend_Click() = 0;
    virtual void cmdPreview_Click() = 0;
    // "Close" and the window's own close: false while a report is being sent.
    virtual bool cmdExit_Click() = 0;
};

}  // namespace ovp
