#pragma once
// Windows font names that the front end's forms ask for, mapped to installed fonts made to the
// same metrics. Nothing on Debian answers to these names, and fontconfig's fallback has other
// widths.
namespace platform {

// Installs the substitutions for this process; calling it again does nothing more.
void InstallFontSubstitutes();

}  // namespace platform
