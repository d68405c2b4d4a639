#pragma once
// The application-wide mouse pointer (the forms runtime's Screen.MousePointer): the hourglass
// over every window of this process, or each window's own pointer.
namespace platform {

enum class ApplicationPointer { Default, Busy };

// Default takes away only the hourglass set here; a blank pointer of the cursor display count
// stays as it is.
void SetApplicationPointer(ApplicationPointer pointer);

}  // namespace platform
