// Which addresses a click on a headline may hand to the shell. The feed comes
// over plain HTTP, so its links are untrusted: only web pages open, never a
// file, a program or another registered URL scheme.
#pragma once

#include <string>

// The feed's own address, against which relative links are resolved: the
// request path without its random query, on the news host of this build.
std::wstring FeedAddress();

// The absolute http:// or https:// address that link stands for (white space
// trimmed at both ends, a relative link resolved against base), or empty
// when it may not open: another scheme, a local or UNC path, no host,
// control characters, or too long for the shell.
std::wstring OpenableAddress(const std::wstring& link, const std::wstring& base);

// address with "ref=" + referral added to its query ("?ref=" without a query,
// "&ref=" with one), before any "#fragment".
std::wstring WithReferral(const std::wstring& address, const std::wstring& referral);

// What a click on an item with this link opens, referral included; empty for
// nothing.
std::wstring ClickAddress(const std::wstring& link, const std::wstring& base, const std::wstring& referral);

// The referral value of this build.
std::wstring BuildReferral();
