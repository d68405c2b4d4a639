#pragma once
// Module Lorvane_B: the entry procedure, the settings file and the path operations.
#include <QString>
#include <cstdint>

#include "frontend/core/modes.h"

namespace Lorvane_B {

// The command line's argument string: what follows the program's name, the arguments joined by
// single blanks, untrimmed.
extern QString ArgumentString;
// The second character of the argument string, upper-cased; empty when it is shorter.
QString SwitchLetter();

// Result of the run mode's ShowCursor(FALSE); updated by the host at the end of the run.
extern int32_t CursorCount;

// Folder of the running front end as a Windows path, without a trailing backslash.
QString ProgramFolder();
// ProgramFolder() + "\Lorvane.ini".
QString SettingsFilePath();

// The settings file's section and key names (the dialog's OK writes them).
inline QString SettingsSection() { return QStringLiteral("Section"); }
inline QString KeyBgmKind() { return QStringLiteral("BGM区分"); }
inline QString KeyBgmRepeat() { return QStringLiteral("BGMﾘﾋﾟｰﾄ"); }
inline QString KeyBgmFile() { return QStringLiteral("BGMﾌｧｲﾙ"); }

// Reads the three settings into Lorvane_BGM's variables and derives BgmFolder. Never writes the
// file.
void LoadSettings();
// LoadSettings with the settings file and the program folder given: the folder is where BgmFolder
// points when no music file is set.
void LoadSettingsFrom(const QString& settingsFile, const QString& programFolder);
QString ReadIniValue(const QString& section, const QString& key, const QString& filePath);
void WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& filePath);
bool FileExists(const QString& path);
QString FolderOfPath(const QString& path);

// The preview window handle of the argument string: a decimal number read from its fourth
// character (leading blanks skipped, an optional sign, digits up to the first other character),
// as 32 bits. No digits, or a number that 32 bits cannot hold, gives 0.
uint32_t PreviewWindowHandle();

// The entry procedure. True when a form stays loaded and the program must run its event loop.
bool Main(Modes& modes);
// Main with the program folder given: the settings file and the renderer are looked for there.
bool Main(Modes& modes, const QString& programFolder);

}  // namespace Lorvane_B
