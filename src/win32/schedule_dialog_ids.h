#pragma once
// Resource ids of the schedule manager and the schedule wizard (schedule_dialogs.rc) and of their
// controls, named after the forms' controls. Read by the resource compiler too: plain #defines.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The schedule manager `SchedulerFrm`.
#define IDD_SchedulerFrm 400
#define IDC_Sch_list_lv 401
#define IDC_lblMsgProgres 402
#define IDC_Pic_Edit 403
#define IDC_Pic_Delete 404
#define IDC_Pic_Sttrf 405
#define IDC_Pic_Refresh 406
#define IDC_cmdViewLog 407
#define IDC_cmdCancel 408
#define IDC_lblCannotEdit 409
#define IDC_lblStopNote 410

// The schedule wizard `frmSchStart1`.
#define IDD_frmSchStart1 450
#define IDC_lblHeading 451
#define IDC_optNoSchedule 452
#define IDC_optOnlyOnce 453
#define IDC_optCustomTime 454
#define IDC_optRecommendedTime 455
#define IDC_CheckSun 456
#define IDC_CheckMon 457
#define IDC_CheckTue 458
#define IDC_CheckWed 459
#define IDC_CheckThu 460
#define IDC_CheckFri 461
#define IDC_CheckSat 462
#define IDC_cmbFrequency 463
#define IDC_OVcalendar 464
#define IDC_DTPicker 465
#define IDC_recommendedTime 466
#define IDC_ChkEndTime 467
#define IDC_DTPicker1 468
#define IDC_ChkStartMissedJob 469
#define IDC_chkBackupIdle 470
#define IDC_chkdesktop 471
#define IDC_rdMailNotify0 472
#define IDC_rdMailNotify1 473
#define IDC_rdMailNotify2 474
#define IDC_chkMailLog 475
#define IDC_cmbMailTo 476
#define IDC_btnAdd 477
#define IDC_listMailAdd 478
#define IDC_Sch_Start4_Next 479
#define IDC_wiz_back 480
#define IDC_Sch_Start4_Cancel 481
#define IDC_grpWhen 482
#define IDC_lblStartTime 483
#define IDC_grpMail 484
#define IDC_lblMailTo 485
#define IDC_Sch_Start6_Help 486
#define IDC_ImageHelp 487
#define IDC_PicMissedhelp 488
