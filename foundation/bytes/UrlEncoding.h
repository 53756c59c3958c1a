#pragma once

#include <string>

// The text escaped for a URL query (web searches and translations): a blank
// becomes "+"; "%" with two hex digits after it is kept as an escape already made,
// any other "%" becomes "%25"; reserved characters, DEL, every byte of 128 or more
// and every control character become "%" and two upper-case hex digits.
std::string UrlEncodedText(const char* text);
