// The three web pages the program points to: the Help menu opens them, the help
// document links to two of them, and the About window names the website.
#pragma once

namespace oz {

inline constexpr const char* kMakerWebsite = "https://www.halvick.com/";
inline constexpr const char* kSupportForum = "https://forum.halvick.com/c/orvane-zozivi";
inline constexpr const char* kFullEditionStorePage = "https://www.halvick.com/store/orvane-v2";

}  // namespace oz
