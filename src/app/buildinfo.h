#pragma once

// The build number shown in the About window and handed to the updater.
inline constexpr int buildNumber = 10;
