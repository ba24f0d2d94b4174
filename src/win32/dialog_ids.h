#pragma once
// Resource ids of the dialog templates in dialogs.rc and of their controls. Read by the resource
// compiler too: plain #defines only. Controls are named after the forms' controls.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The product's message box `frmGeneralMessage`.
#define IDD_frmGeneralMessage 200
#define IDC_imgMessageIcon 201
#define IDC_lblMessage 202
// A message too long for the box is shown in this read-only scrolling text instead of the label.
#define IDC_txtMessage 203
#define IDC_Continue 204
// The second button answers like Esc and the window's close: with the dialog manager's cancel id.
#define IDC_IDCancel 2

// The scheduled backup status window `frmStatus`.
#define IDD_frmStatus 300
#define IDC_lblHoursInfo 301
#define IDC_lblBkupInfo 302
#define IDC_lblUserName 303
#define IDC_lblQuotaInfo 304
#define IDC_lblSpaceUsed 305
#define IDC_QuotaProgressbar 306
#define IDC_Cmd_Yes 307
#define IDC_Cmd_No 308
#define IDC_imgViewLog 309
#define IDC_imgUpgrade 310
#define IDC_chkDesNotify1 311
#define IDC_imgTopRightLogo 312
