#pragma once
// Resource ids of the notification windows in notify_dialogs.rc (800-899): the failure
// notification and the web-management alert. Read by the resource compiler too: plain #defines
// only. Controls are named after the forms' controls.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The failure notification `frmFailureNotification`.
#define IDD_frmFailureNotification 800
#define IDC_formicon 801
#define IDC_LabelBackupFailure 802
#define IDC_lblViewLogLink 803
#define IDC_lblFailureReason 804
#define IDC_lblSchedulerLink 805
#define IDC_lblSupport 806
#define IDC_lblErrorReportLink 807
#define IDC_cancel 808

// The web-management alert `frmWelcome`.
#define IDD_frmWelcome 850
#define IDC_lblWelcome 851
#define IDC_cmdWelcomeExit 852
