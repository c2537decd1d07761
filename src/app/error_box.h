#pragma once

#include <string>

// Start-up failures: a box without an owner, caption "Tessarine", error icon.
void ShowErrorBox(const std::string& text);
