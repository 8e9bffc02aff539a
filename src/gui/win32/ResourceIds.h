// Numbers of the program's resources, shared by the resource script and the
// windows: dialog templates, the menu, the icon and every control and menu
// command the windows handle.
#pragma once

#define IDI_VEILBOX 1

#define IDD_MAIN 100
#define IDD_LOGIN 101
#define IDD_OPTIONS 102
#define IDD_ABOUT 103
#define IDR_MAINMENU 110

// frmMain
#define IDC_LSTFOLDERS 1000
#define IDC_FRAACTION 1001
#define IDC_CMDADD 1002
#define IDC_CMDREMOVE 1003
#define IDC_FRASTATUS 1004
#define IDC_LBLSTATUS 1005
#define IDC_CMBSTATUS 1006
#define IDC_CHKENCRYPT 1007
#define IDC_CMDUNLOCKFOLDER 1008
#define IDC_PBBAR 1009
#define IDC_STATUS 1010

// frmMain's menu commands
#define IDM_LOCKFOLDER 2000
#define IDM_UNLOCKFOLDER 2001
#define IDM_EXIT 2002
#define IDM_ADD 2003
#define IDM_REMOVE 2004
#define IDM_HIDDEN 2005
#define IDM_VISIBLE 2006
#define IDM_ENCRYPTFILENAMES 2007
#define IDM_PREFERENCES 2008
#define IDM_ABOUTVEILBOX 2009

// frmLogin: OK and Cancel are IDOK and IDCANCEL, which Enter and Escape press.
#define IDC_LBLLABELS 1100
#define IDC_TXTPASSWORD 1101

// frmOptions: Cancel is IDCANCEL (Escape and the close box); OK is no
// default button, so Enter does not close the window.
#define IDC_FRAME1 1200
#define IDC_LABEL1 1201
#define IDC_LSTFOLDERSPATH 1202
#define IDC_OPTADD 1203
#define IDC_OPTEDIT 1204
#define IDC_OPTREMOVE 1205
#define IDC_OPTOK 1206

// frmAbout: OK is IDOK, the default button; Escape (IDCANCEL) closes too.
#define IDC_PICICON 1300
#define IDC_LBLTITLE 1301
#define IDC_LBLVERSION 1302
#define IDC_LBLDESCRIPTION 1303
#define IDC_LBLDISCLAIMER 1304
#define IDC_ABOUTLABEL1 1305
#define IDC_CMDSYSINFO 1306
