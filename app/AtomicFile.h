// Writing a file so that a crash or power loss leaves either the old or the
// new content, whole.
#pragma once

#include <string>

// Replaces the file at path with exactly these bytes. The bytes go to a
// temporary file beside it first, flushed to disk, which then replaces the old
// file in one step. Returns false (and leaves the old file alone) when
// anything fails.
bool SaveFileAtomically(const std::wstring& path, const std::string& bytes);

// The two halves of that, for a caller that checks the new file before it
// takes its place. WriteFileFlushed creates or truncates path, writes the
// bytes and flushes them; on failure no file is left. ReplaceWithFile moves
// source over target in one step; on failure target is untouched and source
// is removed.
bool WriteFileFlushed(const std::wstring& path, const std::string& bytes);
bool ReplaceWithFile(const std::wstring& source, const std::wstring& target);

// The whole file at path, when it exists, can be read and is no larger
// than limit bytes; other writers and deleters are not kept out meanwhile.
bool ReadSmallFile(const std::wstring& path, unsigned long limit, std::string& bytes);
