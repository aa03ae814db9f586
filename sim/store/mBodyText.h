// The host's conversions between a message's plain and HTML bodies.
#pragma once

#include <string>
#include <string_view>

namespace plexa::sim::mBodyText {

// The text rendering of an HTML body: head, style and script content dropped, tags removed,
// entities decoded, runs of white space collapsed, <br> and the end of a paragraph, division,
// heading, list item or table row as a line break ("\r\n").
std::wstring HtmlToText(std::wstring_view html);
// Typed text as the HTML body the host makes of it: the text escaped inside <body>, each line
// break as <br>.
std::wstring TextToHtml(std::wstring_view text);
// Text escaped for an HTML body (& < > " as entities), each line break written as lineBreak.
std::wstring EscapeText(std::wstring_view text, std::wstring_view lineBreak);

}  // namespace plexa::sim::mBodyText
