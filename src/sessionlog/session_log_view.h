#pragma once
// The activity log viewer `frmSessionLog` as its presenter sees the view: everything the window
// shows, decided by the presenter, and what the user does there.

#include <cstdint>
#include <string>
#include <vector>

#include "sessionlog/session_log_rows.h"

namespace ovp {

struct SessionLogViewState {
    std::string title;         // the window text
    std::string subtitle;      // `lblSubTitle`
    std::string backupLegend;  // the legend beside each row picture
    std::string restoreLegend;
    std::string deleteLegend;
    std::string operationColumn;  // the row's picture only
    std::string startTimeColumn;
    std::string descriptionColumn;
    std::string viewCaption;          // `cmdView`
    std::string deleteCaption;        // `cmdDelete`
    std::string selectAllCaption;     // `chkSelectAll`
    std::string closeCaption;         // `cmdCloseSessionLog`
    std::string previousCaption;      // `PrevImg`
    std::string nextCaption;          // `NextImg`
    std::string helpCaption;          // `Image6`, the help picture
    std::string pageLabel;            // `lblPage`: "1 - 50 of 120"
    std::vector<SessionLogRow> rows;  // `LstSessionLogView`, in display order
    bool previousEnabled = false;
    bool nextEnabled = false;
    bool viewEnabled = false;
    bool deleteEnabled = false;
    bool selectAllEnabled = false;
    bool selectAllChecked = false;
};

class ISessionLogView {
  public:
    virtual ~ISessionLogView() = default;
    // Shows the state; rows that stay keep their ticks.
    virtual void Render(const SessionLogViewState& state) = 0;
    // Ticks or clears every row shown.
    virtual void CheckAllRows(bool checked) = 0;
    virtual void Close() = 0;
    // The window the viewer's message boxes belong to (a window handle); 0 for none.
    virtual std::uintptr_t OwnerWindow() = 0;
};

// The rows a button works on: the file names of the rows that are ticked or selected, each once,
// in display order.
using ChosenSessionLogs = std::vector<std::string>;

class ISessionLogEvents {
  public:
    virtual ~ISessionLogEvents() = default;
    virtual void Form_Load() = 0;
    virtual void NextImg_Click() = 0;
    virtual void PrevImg_Click() = 0;
    // column: 0 "Operation", 1 "StartTime", 2 "Description".
    virtual void LstSessionLogView_ColumnClick(int column) = 0;
    virtual void chkSelectAll_Click(bool checked) = 0;
    virtual void cmdView_Click(const ChosenSessionLogs& chosen) = 0;
    virtual void LstSessionLogView_DblClick(const ChosenSessionLogs& chosen) = 0;
    virtual void cmdDelete_Click(const ChosenSessionLogs& chosen) = 0;
    virtual void cmdCloseSessionLog_Click() = 0;
    virtual void Image6_Click() = 0;  // the help picture
};

}  // namespace ovp
