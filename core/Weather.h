#pragma once
// The weather request for the user's place, and the reader of the proxy's
// reply, which fills WeatherValues and the main window.
#include <string>

namespace Globals {

// The place name with every blank written as "%20"; nothing else changes,
// so commas and other characters travel as typed.
std::string NormaliseLocation(const std::string& s);

// The place without its control characters (C0 codes, DEL and the C1
// codes U+0080-U+009F): a line break pasted into the place would otherwise
// end the request line and let the rest of the text pose as headers or as
// a second request. Every other character stays as typed.
std::string WithoutControlCharacters(const std::string& s);

// Starts one weather request for Globals::UserLocation (first cleared of
// control characters, and kept so) and returns at once; the reply comes
// back through MyHTTPSocket. Every call makes a new socket, even while
// another request is in flight. While the application is locked it does
// nothing at all.
void GetForecast();

// The value of one key in a reply: the text after "key": up to the closing
// quote of a quoted value, else up to the next "," (or the next "}" when no
// comma follows). Empty when the key is absent or the value has no end.
std::string ExtractValue(const std::string& text, const std::string& key);

// Reads every weather value from a reply into WeatherValues, writes the
// main window's labels and ends its loading look. Any text is accepted:
// what does not fit the format gives empty values.
void ParseResponse(const std::string& s);

}  // namespace Globals
