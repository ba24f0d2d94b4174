#pragma once
// Resource ids of the error report's dialog templates (report_dialogs.rc) and their controls,
// named after the form's controls. Read by the resource compiler too: plain #defines only.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The error report `frmErrorReport1`.
#define IDD_frmErrorReport1 700
#define IDC_lblfeedback 701
#define IDC_lblTo 702
#define IDC_txtTo 703
#define IDC_lblFromName 704
#define IDC_txtFromName 705
#define IDC_lblFrom 706
#define IDC_txtFrom 707
#define IDC_lblContactNumber 708
#define IDC_txtContactNumber 709
#define IDC_lblTicketNumber 710
#define IDC_txtTicketNumber 711
#define IDC_lblTicketHint 712
#define IDC_lblSubject 713
#define IDC_txtSubject 714
#define IDC_lblMsg 715
#define IDC_txtMsg 716
#define IDC_chkLogs 717
#define IDC_cmdPreview 718
#define IDC_cmdSend 719
#define IDC_cmdExit 720
#define IDC_lblSuccess 721

// What the report will send, before it is sent.
#define IDD_ReportPreview 750
#define IDC_txtPreview 751
#define IDC_cmdPreviewClose 752
