#pragma once
// `frmErrorReport1`: the user writes to the product's support team and may attach the
// diagnostic text; the report is checked, shown on request exactly as it will travel, and sent
// through the notification post with up to three tries.

#include <functional>
#include <string>

#include "context/app_context.h"
#include "net/http_functions.h"
#include "platform/message_box.h"
#include "report/error_report_view.h"
#include "report/report_body.h"

namespace ovp {

inline constexpr int kReportSendTries = 3;

// Whether the contact number box takes the character: digits, backspace, blank, "-", "_", "(" and
// ")".
bool IsContactNumberKey(char32_t key);
// The text with every character the box does not take left out (for pasted text).
std::string FilterContactNumber(std::string_view text);

class frmErrorReport1 final : public IErrorReportEvents {
  public:
    frmErrorReport1(AppContext& context,
                    IMessageBox& messageBox,
                    IErrorReportView& view,
                    ErrorReportBody& body,
                    HttpFunctions& http)
        : context_(context), messageBox_(messageBox), view_(view), body_(body), http_(http) {}

    void Form_Load() override;
    void txtFrom_Change(const std::string& text) override;
    void txtContactNumber_Change(const std::string& text) override;
    bool txtContactNumber_KeyPress(char32_t key) override;
    void txtTicketNumber_Change(const std::string& text) override;
    void txtSubject_Change(const std::string& text) override;
    void txtMsg_Change(const std::string& text) override;
    void chkLogs_Click(bool checked) override;
    void cmdSend_Click() override;
    void cmdPreview_Click() override;
    bool cmdExit_Click() override;

    const ErrorReportViewState& State() const { return state_; }

  private:
    bool Validate();
    std::string BuildBody();
    void Notify(std::string_view message);
    std::string Product() const;
    // A caption, kept to its English text's room; a text (message, tip, title) of any length.
    std::string Caption(int id, std::string_view english) const;
    std::string Text(int id, std::string_view english) const;

    AppContext& context_;
    IMessageBox& messageBox_;
    IErrorReportView& view_;
    ErrorReportBody& body_;
    HttpFunctions& http_;
    ErrorReportViewState state_;
    bool busy_ = false;
};

}  // namespace ovp
