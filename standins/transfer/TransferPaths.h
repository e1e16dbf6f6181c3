// Names and paths of the stand-in file-transfer component: which names it accepts, where a file
// lives on the server, and how HTTP header values are read. Pure logic, no I/O.
#pragma once

#include <string>
#include <vector>

namespace transfer {

// True for a name usable as one folder or file name on both sides: not empty, not "." or
// "..", and free of separators, control characters and the characters Windows refuses in
// file names.
bool IsPlainSegment(const std::wstring& strSegment);

// Splits a name relative to the local folder at '/' or '\' into plain segments. False for
// anything that could leave the folder or the service: an absolute path, a drive, an empty
// segment, "." or "..".
bool SplitRelativeName(const std::wstring& strName, std::vector<std::wstring>& vecSegments);

// The server path of a file: "/<service>/<segment>/...", each segment in UTF-8 with every byte
// outside the unreserved characters of URLs percent-encoded. False when a segment holds
// text that is not valid UTF-16.
bool ServerPath(const std::wstring& strService, const std::vector<std::wstring>& vecSegments,
                std::wstring& strPath);

// The part of a local path after its last '\' or '/'.
std::wstring FileNameOfPath(const std::wstring& strPath);

// A Content-Length value: decimal digits only, no sign, no overflow.
bool ParseContentLength(const std::wstring& strValue, unsigned long long& nLength);

} // namespace transfer
