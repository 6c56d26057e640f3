// The settings file on disk: reads that wait out another program's short hold,
// and the durable replace, both built on the platform's primitive file steps so
// that the order of the steps, and what follows each answer, is decided here
// once for every platform.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace vantrel {

// Another program (a virus scanner, an indexer, a backup or sync tool) may
// hold the file for a moment; a hold that outlasts a second counts as a failure.
inline constexpr int kFileWaitMs = 1000;
inline constexpr int kFilePollMs = 20;

// What a read's answer means: the file read; no file (only the system's "not
// found", of the file or of a folder on its way); a file that is there but
// held for the moment, worth waiting for; or one that cannot be read now.
// Nothing that cannot be read is ever taken for missing.
enum class FileRead { Done, Missing, Locked, Unreadable };
FileRead ReadRule(FileAnswer answer);

// Reads the whole file, waiting up to `waitMs` while it is held; a hold that
// outlasts the wait is Unreadable.
FileRead ReadThroughLocks(Files& files, const std::string& path, std::string& contents,
                          int waitMs = kFileWaitMs);

// Whether a file of this stamp was written long enough before `nowMs` that no
// later write can leave the same stamp: what was read of it then stands for it
// while its stamp stays the same.
bool Settled(const FileStamp& stamp, std::uint64_t nowMs);

// Replaces the file as a whole: the new contents are written beside it and put
// on disk, take its attributes and access rights, and then its name in one
// rename. Whatever any step answers, the path holds the old file or the new
// one, never neither and never part of one. False when the old one stays.
bool ReplaceWholeFile(Files& files, const std::string& path, const std::string& contents);

// The name a replace writes beside `target`: the writing process and a count.
std::string BesideName(const std::string& target, std::uint32_t process, unsigned count);

// Removes what replaces left beside the file (their names only) when the
// process that wrote them is gone: a kill or a power loss between the writing
// and the rename. Meant for start-up, before this process writes anything.
void RemoveLeftovers(Files& files, const std::string& path);

}  // namespace vantrel
