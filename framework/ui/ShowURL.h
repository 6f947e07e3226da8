#pragma once
// Opens a link in the user's web browser.
#include <functional>
#include <string>

namespace fw {

void ShowURL(const std::string& url);

// Replaces what ShowURL does; an empty handler restores the real one.
using ShowURLHandler = std::function<void(const std::string& url)>;
void SetShowURLHandler(ShowURLHandler handler);

}  // namespace fw
