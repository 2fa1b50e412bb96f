// The note spacing dialog's resource id and the ids of its seven items. The resource script,
// the window and the hosts that drive the dialog all take them from here. Only #defines, so
// that the resource compiler reads it as well as C++ does.
#pragma once

#define IDD_NOTE_SPACING 20128

// Apply Spacing and Close carry the ids the dialog manager gives Enter and Escape (IDOK and
// IDCANCEL), so that the keys press them.
#define IDC_SPACING_APPLY 1
#define IDC_SPACING_CLOSE 2
#define IDC_SPACING_TASKS_LABEL 101
#define IDC_SPACING_TASK_LIST 102
#define IDC_SPACING_FIXED_BARLINES 103
#define IDC_SPACING_DESCRIPTION 104
#define IDC_SPACING_SET_AS_DEFAULT 105
