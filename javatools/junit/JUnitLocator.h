#pragma once

#include <string>

// The JUnit console launcher ("standalone" jar, with the Jupiter and
// Vintage engines) in a folder of jars such as /usr/share/java: the
// unversioned name Debian's junit5 package links first, else the newest
// versioned one. Empty when there is none.
std::string FindJUnitLauncher(const std::string& jarFolder);
