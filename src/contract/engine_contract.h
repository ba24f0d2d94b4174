#pragma once
// The contract between the monitor and the backup engine: every file, section, key and code that
// both sides read or write. Written once here and used from here; the engine stand-ins use the
// same header, so they cannot drift from the monitor.

#include <array>
#include <cstdint>
#include <string_view>

namespace ovp::contract {

// ---- Files ------------------------------------------------------------------------------------
inline constexpr std::string_view kConfigurationFile = "Configuration.ini";
inline constexpr std::string_view kImagesFolder = "Images";
inline constexpr std::string_view kBrandFile = "Config.txt";  // in the images folder
inline constexpr std::string_view kLanguageFolder = "Lang";
inline constexpr std::string_view kUserNameFile = "UserName.ini";    // application folder
inline constexpr std::string_view kSearchFileSuffix = "Search.ini";  // product name + suffix
inline constexpr std::string_view kBrandSearchFile = "Orvessa ProfessionalSearch.ini";
inline constexpr std::string_view kAutoPathFile = "SimpleAutoPath.ini";  // user folder
inline constexpr std::string_view kTrayTraceFile = "TrayTraceFile.txt";
inline constexpr std::string_view kServiceTraceFile = "SerTraceFile.txt";
inline constexpr std::string_view kScheduleFile = "scheduleData.txt";
inline constexpr std::string_view kScheduleInfoFile = "scheduleInfo.txt";
inline constexpr std::string_view kSchStatusFile = "SchStatus.txt";
inline constexpr std::string_view kSchStatusErrorFile = "SchStatusError.txt";
inline constexpr std::string_view kQuotaExceededFile = "QuotaExceeded.txt";
inline constexpr std::string_view kContextMenuRunFile = "ContextMenuRun.txt";
inline constexpr std::string_view kBackupProgressFile = "BackupProgress.ini";
inline constexpr std::string_view kClientOutputFile = "DLLOutput1.txt";
inline constexpr std::string_view kClientInputFile = "DLLInput.txt";
inline constexpr std::string_view kTempRecValsFile = "TempRecVals.txt";
// The shadow-copy status files of the application folder, reset to "0" when a backup starts.
inline constexpr std::string_view kShadowCopyStatusFile = "OVVSSCommonStatus.txt";
inline constexpr std::string_view kShadowCopyStatusDllFile = "OVVSSCommonStatusDll.txt";
// The user folder's default files of a first run (system code-page text, CR LF).
inline constexpr std::string_view kAutoFileSelectionFile = "AutoFileSelection.txt";
inline constexpr std::string_view kBackupFolderListFile = "atbkupfolderlist.txt";
inline constexpr std::string_view kExcludeFileFile = "atbkupExcludeFile.txt";
inline constexpr std::string_view kExcludeFolderFile = "atbkupExcludeFolder.txt";
inline constexpr std::string_view kExcludeListFile = "atbkupExcludelist.txt";
inline constexpr std::string_view kUserExcludeFolderFile = "UserExcludeFolder.txt";
inline constexpr std::string_view kExcludeFilePathFile = "atbkupExcludeFilePath.txt";
// A language file is the language folder + "\" + Language + this suffix.
inline constexpr std::string_view kLanguageFileSuffix = ".txt";

// ---- Executables of the product (application folder) ------------------------------------------
// The brand product (number 1) has names of its own.
inline constexpr std::string_view kBrandRealTimeLibrary = "OVPROFRealTime.dll";
inline constexpr std::string_view kBrandRegistryToIni = "RegistryToIni.exe";
inline constexpr std::string_view kBrandBackground = "OVProfBackground.exe";
inline constexpr std::string_view kBrandTray = "OVPMonitor.exe";
inline constexpr std::string_view kBrandClassic = "OrvessaProf.exe";
inline constexpr std::string_view kBrandClient = "OrvessaProfClient.exe";
inline constexpr std::string_view kBrandService = "OVPService.exe";
inline constexpr std::string_view kBrandPlugin = "OVPRDPlugin.exe";
inline constexpr std::string_view kBrandBackupSetSize = "OVProfBckupsetSize.exe";
inline constexpr std::string_view kBrandContextMenu = "OVPROFContextMenu.exe";
inline constexpr std::string_view kBrandProductWord = "OrvessaProfessional";
inline constexpr std::string_view kBrandMutexName = "OVPMonitorexe";
inline constexpr std::string_view kBrandServiceName = "OVPService";
// Every other product: its ExeGroup followed by these.
inline constexpr std::string_view kGroupRealTimeLibrary = "RealTime.dll";
inline constexpr std::string_view kGroupRegistryToIni = "Reg2ini.exe";
inline constexpr std::string_view kGroupBackground = "Background.exe";
inline constexpr std::string_view kGroupTray = "Tray.exe";
inline constexpr std::string_view kGroupClassic = "Classic.exe";
inline constexpr std::string_view kGroupClient = "ClsClient.exe";
inline constexpr std::string_view kGroupService = " Service.exe";
inline constexpr std::string_view kGroupBackupSetSize = "BckupsetSize.exe";
inline constexpr std::string_view kGroupContextMenu = "ContextMenu.exe";
inline constexpr std::string_view kGroupViewLibrary = "View.dll";
inline constexpr std::string_view kGroupContextMenuExtension = "ContextMenuExt.dll";
inline constexpr std::string_view kGroupDriveLauncher = "LaunchDrive.exe";
inline constexpr std::string_view kGroupMutexName = "Trayexe";
// The installation name followed by this.
inline constexpr std::string_view kGroupServiceName = " Service";
// The plug-in of the Tallux product, and of every other one.
inline constexpr std::string_view kTalluxPlugin = "TalluxPlugin.exe";
inline constexpr std::string_view kOtherPlugin = "KMBackupPlugin.exe";
// The service's batch files: one of these verbs, the product word, then the suffix.
inline constexpr std::string_view kInstallBatchVerb = "Install";
inline constexpr std::string_view kStartBatchVerb = "Start";
inline constexpr std::string_view kStopBatchVerb = "Stop";
inline constexpr std::string_view kServiceBatchSuffix = "Service.bat";

// ---- Configuration.ini ------------------------------------------------------------------------
inline constexpr std::string_view kProductInfo = "ProductInfo";
inline constexpr std::string_view kConnectionInfo = "ConnectionInfo";
inline constexpr std::string_view kWebLink = "WebLink";
// Hosts and addresses the product reaches; our own keys, with reserved example names as defaults.
inline constexpr std::string_view kServiceInfo = "ServiceInfo";
// ProductInfo
inline constexpr std::string_view kProductNumber = "ProductNumber";
inline constexpr std::string_view kProductName = "ProductName";
inline constexpr std::string_view kProductInstallationName = "ProductInstallationName";
inline constexpr std::string_view kProductTreeViewName = "ProductTreeViewName";
inline constexpr std::string_view kProductCaption = "ProductCaption";
inline constexpr std::string_view kExeGroup = "ExeGroup";
inline constexpr std::string_view kLanguage = "Language";
// ConnectionInfo
inline constexpr std::string_view kDomainName = "DomainName";
inline constexpr std::string_view kIPAddress1 = "IPAddress1";
inline constexpr std::string_view kIPAddress2 = "IPAddress2";
inline constexpr std::string_view kConnectionPort = "Port";
// WebLink
inline constexpr std::string_view kFirewallLink = "FirewallLink";
inline constexpr std::string_view kUpgradeLink = "UpgradeLink";
inline constexpr std::string_view kAccountUpgradeLink = "AccountUpgradeLink";
inline constexpr std::string_view kLoginLink = "LoginLink";
inline constexpr std::string_view kForgotPwdLink = "ForgotPwdLink";
inline constexpr std::string_view kFeaturesLink = "FeaturesLink";
inline constexpr std::string_view kSignupLink = "SignupLink";
inline constexpr std::string_view kUpdateLink = "UpdateLink";
inline constexpr std::string_view kSupportLink = "SupportLink";
inline constexpr std::string_view kSetupLink = "SetupLink";
inline constexpr std::string_view kPromoteLink = "PromoteLink";
inline constexpr std::string_view kWebsiteLink = "WebsiteLink";
// ServiceInfo
inline constexpr std::string_view kNotificationHost = "NotificationHost";
inline constexpr std::string_view kWebDavHost = "WebDavHost";
inline constexpr std::string_view kSupportMail = "SupportMail";
inline constexpr std::string_view kFeedbackLink = "FeedbackLink";
inline constexpr std::string_view kWebHost = "WebHost";
// The account upgrade page on the service's web host; the account name is appended when used.
inline constexpr std::string_view kAccountUpgradePath = "/ovprof/jsp/OVPAppUpgradePlan.jsp?accName=";
// The installation name of the brand build, and the name that stands in for an empty product name.
inline constexpr std::string_view kBrandInstallationName = "Orvessa Professional";

// ---- Obscured form ----------------------------------------------------------------------------
// Every character code of an obscured key or value is raised by this offset.
inline constexpr char32_t kObscureOffset = 3;

// ---- Windows registry (PIN = product installation name) ---------------------------------------
inline constexpr std::string_view kVendorKeyPrefix = "Software\\Harrowlane\\";  // + PIN
inline constexpr std::string_view kProductKeyPrefix = "Software\\";             // + PIN (HKCU fallback; HKLM values)
inline constexpr std::string_view kConnectionParametersSubkey = "\\Connection Parameters";
inline constexpr std::string_view kApplicationSubkey = "\\Application";
inline constexpr std::string_view kRegStatus = "Status";
inline constexpr std::string_view kRegVersion = "Version";
inline constexpr std::string_view kRegReleaseDate = "Release Date";
inline constexpr std::string_view kRegExplorerVersion = "Explorer Version";
inline constexpr std::string_view kRegExplorerReleaseDate = "Explorer Release Date";
inline constexpr std::string_view kRegInstalledFirst = "InstalledFirst";
inline constexpr std::string_view kRegPluginFlag = "PluginFlag";
inline constexpr std::string_view kRegFirstTimeUser = "FirstTimeUser";
inline constexpr std::string_view kRegOpenFileMode = "OpenFileMode";
inline constexpr std::string_view kRegBackupIdle = "BackupIdle";
inline constexpr std::string_view kRemoteAccessProfilePrefix = "RemoteAccess\\Profile\\";  // + ISPName
inline constexpr std::string_view kRegAutoConnect = "AutoConnect";

// ---- UserName.ini -----------------------------------------------------------------------------
inline constexpr std::string_view kRegistrySection = "Registry";
inline constexpr std::string_view kOrvessaSection = "Orvessa";
inline constexpr std::string_view kDefaultUserName = "Default User name";  // value obscured
inline constexpr std::string_view kCurrentUser = "CurrentUser";
inline constexpr std::string_view kTray = "Tray";
inline constexpr std::string_view kStandbyBackup = "StandbyBackup";
inline constexpr std::string_view kBackupIdle = "BackupIdle";
inline constexpr std::string_view kBackupIdleState = "BackupIdleState";
inline constexpr std::string_view kBandwidth = "Bandwidth";
inline constexpr std::string_view kBandwidthIdleState = "BandwidthIdleState";
inline constexpr std::string_view kStopSchedule = "StopSchedule";
inline constexpr std::string_view kStopScheduleTime = "StopScheduleTime";
inline constexpr std::string_view kNextTransfer = "NextTransfer";
inline constexpr std::string_view kStartMissedSch = "STARTMISSEDSCH";
inline constexpr std::string_view kLogOff = "LogOff";
inline constexpr std::string_view kMappedDriveError = "MappedDriveError";
inline constexpr std::string_view kUncEncrypted = "UNCEncrypted";
inline constexpr std::string_view kUncCount = "UNCCount";
inline constexpr std::string_view kUncPrefix = "UNC";
inline constexpr std::string_view kExcluded = "Excluded";
inline constexpr std::string_view kClientRandomSuffix = " client system random number";  // PIN + suffix
// Orvessa section of UserName.ini
inline constexpr std::string_view kRTBackup = "RTBackup";
inline constexpr std::string_view kRTBPausedBySch = "RTBPausedBySch";
inline constexpr std::string_view kRealTimeBackup = "RealTimeBackup";
inline constexpr std::string_view kStarted = "Started";
inline constexpr std::string_view kStandard = "Standard";
inline constexpr std::string_view kInteractive = "Interactive";
inline constexpr std::string_view kInteractiveLists = "InteractiveLists";
inline constexpr std::string_view kScheduled = "Scheduled";

// ---- User's profile file ----------------------------------------------------------------------
inline constexpr std::string_view kBackupStatusSection = "BackupStatus";
inline constexpr std::string_view kQuotaStatusSection = "QuotaStatus";
inline constexpr std::string_view kWebSection = "Web";
inline constexpr std::string_view kOlwaSection = "OLWA";
inline constexpr std::string_view kProxySection = "Proxy";
inline constexpr std::string_view kDateFormatSection = "DateFormat";
inline constexpr std::string_view kAutoFilePathsSection = "AUTOFILEPATHS";

// BackupStatus
inline constexpr std::string_view kStatus = "Status";
inline constexpr std::string_view kDllStatus = "DLLStatus";
inline constexpr std::string_view kRetValue = "RetValue";
inline constexpr std::string_view kStatusWindow = "StatusWindow";
inline constexpr std::string_view kStausMessageIndicaton = "StausMessageIndicaton";  // the engine's spelling
inline constexpr std::string_view kStatusMessageIndicaton = "StatusMessageIndicaton";
inline constexpr std::string_view kSchEndTime = "SchEndTime";
inline constexpr std::string_view kBackupFailureDays = "BackupFailureDays";
inline constexpr std::string_view kUserDays = "UserDays";
inline constexpr std::string_view kUserDaysEnabled = "UserDaysEnabled";
inline constexpr std::string_view kDesktopNotification = "DesktopNotification";
inline constexpr std::string_view kStatusCheckCount = "StatusCheckCount";
inline constexpr std::string_view kCompareListCount = "CompareListCount";
inline constexpr std::string_view kBackupNowTray = "BackupNowTray";
inline constexpr std::string_view kProgStatus = "ProgStatus";
// QuotaStatus
inline constexpr std::string_view kUsed = "Used";
inline constexpr std::string_view kMax = "Max";
// Web, OLWA
inline constexpr std::string_view kWebPlugin = "WebPlugin";
inline constexpr std::string_view kErrVal = "ErrVal";
// Orvessa section of the profile file (plain unless noted in the obscured list below)
inline constexpr std::string_view kUserPassword = "User Password";
inline constexpr std::string_view kIPAddres = "IPAddres";
inline constexpr std::string_view kOutPort = "OutPort";
inline constexpr std::string_view kMailId = "Mail-ID";
inline constexpr std::string_view kRecomended = "Recomended";
inline constexpr std::string_view kAutoSync = "AutoSync";
inline constexpr std::string_view kProxySet = "Proxy set";
inline constexpr std::string_view kCdpRetry = "CDP_RETRY";
inline constexpr std::string_view kEncPasswordNew = "encpasswordnew";
// Obscured profile values (key and value obscured)
inline constexpr std::string_view kUsername = "username";
inline constexpr std::string_view kPassword = "password";
inline constexpr std::string_view kEncPassword = "encpassword";
inline constexpr std::string_view kServerIp = "serverip";
inline constexpr std::string_view kPort = "port";
inline constexpr std::string_view kRandom = "random";
inline constexpr std::string_view kClientPid = "ClientPID";
inline constexpr std::string_view kClientPidR = "ClientPIDR";
inline constexpr std::string_view kScheduleDisable = "ScheduleDisable";
inline constexpr std::string_view kFreeUser = "freeuser";
inline constexpr std::string_view kAutoConnect = "AutoConnect";
inline constexpr std::string_view kAuthenticated = "Authenticated";
inline constexpr std::string_view kAutoReconnect = "AutoReconnect";
inline constexpr std::string_view kIspName = "ISPName";
inline constexpr std::string_view kFirstUser = "FirstUser";
inline constexpr std::string_view kShutdown = "SHUTDOWN";
inline constexpr std::string_view kSqlProg = "SQLPROG";
inline constexpr std::string_view kSqlBackupSet = "SQLBACKUPSET";
inline constexpr std::string_view kScheduleType = "Schedule Type";
inline constexpr std::string_view kStartMissedJob = "StartMissedJob";
// Proxy section (obscured)
inline constexpr std::string_view kProxyName = "ProxyName";
inline constexpr std::string_view kProxyPort = "ProxyPort";
inline constexpr std::string_view kProxyUser = "ProxyUser";
inline constexpr std::string_view kProxyPass = "ProxyPass";
inline constexpr std::string_view kProxySetFlag = "Proxyset";
inline constexpr std::string_view kProxyTypeHttp = "proxytypehttp";
inline constexpr std::string_view kProxyTypeSocks = "proxytypesocks";
inline constexpr std::string_view kProxyAuthOn = "ProxyAuthOn";
// Search file
inline constexpr std::string_view kSearchEnable = "SearchEnable";

// ---- Codes the monitor tests ------------------------------------------------------------------
inline constexpr std::string_view kDllStatusNothing = "0";
inline constexpr std::string_view kDllStatusStarted = "1";
inline constexpr std::string_view kDllStatusEnded = "2";
inline constexpr std::string_view kDllStatusFailed = "3";
// The engine's report of a job that completed. Like "3" it stays until the user presses "View Log"
// in the status window, which sets both back to "0": the log has then been seen.
inline constexpr std::string_view kDllStatusCompleted = "4";
inline constexpr std::string_view kStatusScheduledRunning = "1";
inline constexpr std::string_view kStatusStopRequest = "5";
inline constexpr std::string_view kTrayStartBackground = "0";
inline constexpr std::string_view kTrayLoggedOffSystem = "3";
// RTBackup: 0 idle, 1 in progress, 4 cancelled by the user, 6 quota exceeded, 2 3 5 7 8 9 10 failed.
inline constexpr int kRTBackupIdle = 0;
inline constexpr int kRTBackupInProgress = 1;
inline constexpr int kRTBackupCancelled = 4;
inline constexpr int kRTBackupQuotaExceeded = 6;

// ---- Engine windows and session logs ----------------------------------------------------------
// The engine's hidden dialog is titled installation name + this suffix. When the logon session
// ends the monitor posts it this message, with both parameters 0.
inline constexpr std::string_view kHiddenWindowSuffix = "HiddenWindow";
inline constexpr std::uint32_t kHiddenWindowSessionEndMessage = 0x40A;
// The engine's session logs: user folder + "\" + this.
inline constexpr std::string_view kSessionFolder = "Session";

// ---- Schedule database (scheduleData.txt) -----------------------------------------------------
// Line 1 is the run marker: "0", or the RecordNo of the job kind the engine is running.
inline constexpr std::string_view kRunMarkerIdle = "0";
// Two backspaces join the twelve tokens of a record line; lines end with CR LF.
inline constexpr std::string_view kScheduleSeparator = "\b\b";
inline constexpr std::string_view kScheduleLineEnd = "\r\n";
// The sort key that stands for "no next run"; greater than every real yyyymmddHHMM key.
inline constexpr std::string_view kNoNextRunSortKey = "300012121503";
// JobKind keywords (the SQL Server keyword is the profile's SQLBACKUPSET, which begins with the prefix).
inline constexpr std::string_view kJobKindBackupSet = "oventbkupjob";
inline constexpr std::string_view kJobKindSqlServerPrefix = "SQLSERVERBACKUP";
inline constexpr std::string_view kJobKindSystemState = "SYSTEMSTATEBACKUP";
inline constexpr std::string_view kJobKindExchange = "OVEXCHANGEBACKUP";
inline constexpr std::string_view kJobKindExchangeBrick = "OVEXCHANGEBRICKBACKUP";
// RecordNo of each job kind; the same numbers are the run marker's values.
inline constexpr std::string_view kRecordNoBackupSet = "1";
inline constexpr std::string_view kRecordNoSqlServer = "2";
inline constexpr std::string_view kRecordNoSystemState = "3";
inline constexpr std::string_view kRecordNoExchange = "4";
inline constexpr std::string_view kRecordNoExchangeBrick = "5";

// ---- Automatic-path file (SimpleAutoPath.ini) and the mail-paths companion library ------------
// The companion library sits in the application folder; each of its detection functions records
// one folder under its key in section AUTOFILEPATHS of the file it is given (win32/mail_paths_abi.h).
inline constexpr std::string_view kMailPathsLibrary = "GetMailPaths.dll";
// The first-run flag's one value that starts the first-run preparation.
inline constexpr std::string_view kFirstUserTrue = "TRUE";

struct AutoPathEntry {
    std::string_view key;
    std::string_view function;
};
inline constexpr std::string_view kOutlookExpPath = "OutlookExpPath";
inline constexpr std::string_view kMSOutlkPath = "MSOutlkPath";
inline constexpr std::string_view kYahooPath = "YahooPath";
inline constexpr std::string_view kMSNPath = "MSNPath";
inline constexpr std::string_view kDesktopPath = "DesktopPath";
inline constexpr std::string_view kMyDocumentsPath = "MyDocumentsPath";
inline constexpr std::string_view kMyMusicPath = "MyMusicPath";
inline constexpr std::string_view kMyPicturesPath = "MyPicturesPath";
inline constexpr std::string_view kMyVideosPath = "MyVideosPath";
inline constexpr std::string_view kMyFavouritesPath = "MyFavouritesPath";
inline constexpr std::string_view kOutlkExpAddrBookPath = "OutlkExpAddrBookPath";
inline constexpr std::string_view kMozillaPath = "MozillaPath";
// In the order the first run asks for them.
inline constexpr std::array<AutoPathEntry, 12> kAutoPathEntries = {{
    {kOutlookExpPath, "GetAutoOutlkExpPath"},
    {kMSOutlkPath, "GetAutoMSOutlkPath"},
    {kYahooPath, "GetYahooPath"},
    {kMSNPath, "GetMSNPath"},
    {kDesktopPath, "GetDesktopPath"},
    {kMyDocumentsPath, "GetMyDocumentsPath"},
    {kMyMusicPath, "GetMyMusicPath"},
    {kMyPicturesPath, "GetMyPicturesPath"},
    {kMyVideosPath, "GetMyVideosPath"},
    {kMyFavouritesPath, "GetMyFavouritesPath"},
    {kOutlkExpAddrBookPath, "GetOutlkExpAddrBookPath"},
    {kMozillaPath, "GetMozillaPath"},
}};

// ---- Companion libraries of the tray commands -------------------------------------------------
// The shell helper library in the application folder (win32/companions_abi.h); its SendMsgToApp
// with this message tells the running main application that the user changes.
inline constexpr std::string_view kShellHelperLibrary = "ShellHlpr.dll";
inline constexpr int kUserChangeMessage = 1034;

// ---- Job supervision, continuous backup and the account check ---------------------------------
// BackupProgress.ini of the user folder: the running job's progress window cancels on Cancel=1.
inline constexpr std::string_view kProgressInfoSection = "ProgressInfo";
inline constexpr std::string_view kProgressCancel = "Cancel";
// The client's answer file of an earlier exchange, removed before each account check (user folder).
inline constexpr std::string_view kClientAnswerFile = "DLLOutput.txt";
// Present in the application folder when the service runs on this computer: its port is 700.
inline constexpr std::string_view kLocalServiceMarkerFile = "localhost.txt";
inline constexpr std::string_view kLocalServicePort = "700";
// Status values of section BackupStatus: a job is stopped ("0" after a logout).
inline constexpr std::string_view kStatusIdle = "0";
// The client's requests: this text, a blank and the request number.
inline constexpr std::string_view kClientRequestPrefix = "< >";
inline constexpr std::string_view kClientAccountCheck = "23";
inline constexpr std::string_view kClientAccountCheckMoved = "9";
inline constexpr std::string_view kClientFollowUp = "5";
// RetValue answers of the client.
inline constexpr std::int64_t kClientAnswerAccountOk = 402;
inline constexpr std::int64_t kClientAnswerServerMoved = -40;
inline constexpr std::int64_t kClientAnswerFollowUpNeeded = -505;
inline constexpr std::int64_t kClientAnswerFollowUpFailed = 2;
inline constexpr std::array<std::int64_t, 5> kClientAnswersToRetry = {-416, -405, -12008, -12009, -12010};
inline constexpr std::int64_t kClientAnswerRetryAfterMove = -416;

// ---- Missed-backup check and web management ---------------------------------------------------
// Orvessa section of UserName.ini: the moment of the next daily missed-backup check, as plain
// decimal numbers; an empty one stands for that part of the current date and time.
inline constexpr std::string_view kTrayIconDay = "TrayIconDay";
inline constexpr std::string_view kTrayIconMonth = "TrayIconMonth";
inline constexpr std::string_view kTrayIconYear = "TrayIconYear";
inline constexpr std::string_view kTrayIconHour = "TrayIconHour";
inline constexpr std::string_view kTrayIconMinute = "TrayIconMinute";
// The update package the engine leaves in the application folder (its literal, unbranded name).
inline constexpr std::string_view kNewVersionPackage = "TalluxNew.exe";
// OLWA/ErrVal codes of the web-management component.
inline constexpr std::string_view kWebErrorPasswordChanged = "-1";
inline constexpr std::string_view kWebErrorAccountCanceled = "-2";
inline constexpr std::string_view kWebErrorOther = "-3";
// ---- Error report: the engine's logs and traces it attaches -----------------------------------
// User folder (the log folder's files under kLogFolder).
inline constexpr std::string_view kLogFolder = "Log";
inline constexpr std::string_view kBackupRestoreLogFile = "Backup_Restore_log.log";  // in kLogFolder
inline constexpr std::string_view kEngineTraceFile = "TraceFile.txt";
inline constexpr std::string_view kInteractiveTraceFile = "ITraceFile.txt";
inline constexpr std::string_view kContextMenuTraceFile = "ContextMenuTrace.txt";
inline constexpr std::string_view kScheduleTraceFile = "ScheduleTraceFile.txt";
inline constexpr std::string_view kWebManagementLogFile = "WebMgmt.Log";
inline constexpr std::string_view kUserInterfaceTraceSuffix = "UI.txt";  // PIN + suffix, in kLogFolder
// Application folder.
inline constexpr std::string_view kShellViewTraceFile = "OVShell.txt";       // in kLogFolder
inline constexpr std::string_view kRealTimeTraceFile = "RealtimeTrace.txt";  // in kLogFolder
inline constexpr std::string_view kShadowCopyTraceFile = "VSSTraceFile.txt";
// On the Vista family the shell view traces under the common application data + vendor + product.
inline constexpr std::string_view kVendorDataFolder = "Harrowlane";
// The brand product's engine keeps its traces in this folder of the application folder, the
// server backups' in its subfolder.
inline constexpr std::string_view kBrandDataFolder = "Orvessa Professional";
inline constexpr std::string_view kBrandServerFolder = "OVWIN";
inline constexpr std::string_view kSqlBackupTraceFile = "SQLBackupTraceFile.txt";
inline constexpr std::string_view kSqlTraceFile = "SQLTraceFile.txt";
inline constexpr std::string_view kExchangeBackupTraceFile = "ExchBackupTrace.txt";
inline constexpr std::string_view kExchangeBackupSetFile = "OVExchangeServerBkset.txt";
inline constexpr std::string_view kSystemStateTraceFile = "STBTraceFile.txt";
// The component libraries whose versions the report names: PIN + suffix, and the shell view.
inline constexpr std::string_view kViewLibrarySuffix = "View.dll";
inline constexpr std::string_view kServiceLibrarySuffix = "Service.dll";
inline constexpr std::string_view kContextMenuLibrarySuffix = "ContextMenuExt.dll";
inline constexpr std::string_view kShellViewLibrary = "View.dll";
inline constexpr std::string_view kShellViewVistaLibrary = "ViewVista.dll";
// ---- Session logs ----------------------------------------------------------------------------
// The engine names each log "<operation words> <mm-dd-yyyy> <HH-mm-ss>.<ext>" in the session
// folder. Logs whose first word is one of these belong to the system-state and mail-server
// components and are never listed.
inline constexpr std::array<std::string_view, 3> kUnlistedSessionLogKinds = {"OVSystemState", "OVExchBrick",
                                                                             "OVExchBrickRestore"};
// The engine's summary lines; the count follows the first ":" and ends at "]".
inline constexpr std::string_view kLogBackedUpKeyword = "[Backed up Files";
inline constexpr std::string_view kLogRestoredKeyword = "Restored Files";
inline constexpr std::string_view kLogDeletedKeyword = "Deleted Files";
inline constexpr std::string_view kLogMovedKeyword = "Moved files from Trash to Account:";
inline constexpr std::string_view kLogTrashDeletedKeyword = "Delete(Trash) Files";
// A backup log holding one of these anywhere in a line records a failed backup.
inline constexpr std::array<std::string_view, 6> kLogFailureSentences = {
    "Unable to perform scheduled backup. Possible reasons include:",
    "You have aborted the scheduled backup job",
    "Unable to perform the Backup operation, Reason",
    "Connection Failed. Unable to connect to the server",
    "Backup is in progress from the ip address",
    "Backup is in progress. Try later",
};
// ---- Schedule manager and wizard ---------------------------------------------------------------
// The users whose schedules the manager lists (application folder): its last line, names split at ";".
inline constexpr std::string_view kUserListFile = "userlist.ini";
inline constexpr std::string_view kUserListSeparator = ";";
// The notification addresses for the engine (user folder): one a line.
inline constexpr std::string_view kMailIdFile = "Mailid.txt";
// The addresses in the record's MailList and the profile's Mail-ID each end with this.
inline constexpr std::string_view kMailListSeparator = ";";
// The user's date format: this key of the profile's DateFormat section, obscured.
inline constexpr std::string_view kUserDateFormat = "DateFormat";
// ScheduleDisable's two values.
inline constexpr std::string_view kScheduleDisabledTrue = "TRUE";
inline constexpr std::string_view kScheduleDisabledFalse = "FALSE";

}  // namespace ovp::contract
