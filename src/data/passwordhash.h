#pragma once

#include <QString>

// Passwords are kept as argon2id hashes in libsodium's text form ("$argon2id$v=19$m=...,t=...,p=...$salt$hash"),
// which carries its own salt and cost, never as the password itself. Older databases hold plain passwords of at
// most ten characters; those are still recognised until the next successful login replaces them.

// The hash of the password. Throws EngineError when the machine cannot spare the memory the hashing needs.
QString HashPassword(const QString &password);

// True for a hash this program wrote; a plain password of an older database is never taken for one.
bool IsPasswordHash(const QString &stored);

// Whether the typed text is the stored password: a hash is verified, a plain value compared exactly, character by
// character. An empty stored value never matches, nor does an empty typed text.
bool PasswordMatches(const QString &stored, const QString &typed);

// True when the stored value should give way to a fresh hash: a plain password, or a hash made at a lower cost
// than the one used today.
bool NeedsNewHash(const QString &stored);
