// Resource and control ids, shared by the code and res/input_config.rc:
// plain #defines, so that the resource compiler reads them too.
#pragma once

// Resources.
#define IDD_AXIS 101
#define IDI_APP 102

// Controls without an id of their own (the frames and the dialog's label).
#define IDC_STATIC (-1)

// Main window controls; a slot button's id is IDC_SLOT_UP plus the slot index.
#define IDC_DEVICE_LABEL 101
#define IDC_DEVICE_COMBO 102
#define IDC_SUMMARY 103
#define IDC_SLOT_UP 104
#define IDC_SLOT_DOWN 105
#define IDC_SLOT_RIGHT 106
#define IDC_SLOT_LEFT 107
#define IDC_SLOT_A 108
#define IDC_SLOT_B 109
#define IDC_SLOT_START 110
#define IDC_SLOT_SELECT 111
#define IDC_OK 112
#define IDC_CANCEL 113
#define IDC_AXIS_BUTTON 114

// D-Pad Axis dialog: the edit field, created when the dialog starts.
#define IDC_AXIS_EDIT 102
