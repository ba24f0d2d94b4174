#pragma once
// Resource ids of the activity log viewer's dialog template (session_log_dialogs.rc) and its
// controls, named after the form's controls. Read by the resource compiler too: #defines only.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_frmSessionLog 600
#define IDC_lblSubTitle 601
#define IDC_LstSessionLogView 602
#define IDC_chkSelectAll 603
#define IDC_PrevImg 604
#define IDC_lblPage 605
#define IDC_NextImg 606
#define IDC_cmdView 607
#define IDC_cmdDelete 608
#define IDC_cmdCloseSessionLog 609
#define IDC_imgBackupLegend 610
#define IDC_lblBackupLegend 611
#define IDC_imgRestoreLegend 612
#define IDC_lblRestoreLegend 613
#define IDC_imgDeleteLegend 614
#define IDC_lblDeleteLegend 615
#define IDC_Image6 616
