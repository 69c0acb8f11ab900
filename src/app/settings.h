#pragma once

#include <QString>
#include <bitset>

// A set of small numbers 1..255, stored as its members joined by "-".
using TSmallNumberSet = std::bitset<256>;

// The settings store. An empty file argument means the program's settings
// file; writes to it are dropped when that file lies on a CD-ROM.
QString GLB_read_string(const QString& section, const QString& key, const QString& defaultValue,
                        const QString& file = {});
int GLB_read_int(const QString& section, const QString& key, int defaultValue,
                 const QString& file = {});
bool GLB_read_flag(const QString& section, const QString& key, bool defaultValue,
                   const QString& file = {});
TSmallNumberSet GLB_read_set(const QString& section, const QString& key,
                             const TSmallNumberSet& defaultValue, const QString& file = {});

void GLB_write_string(const QString& section, const QString& key, const QString& value,
                      const QString& file = {});
void GLB_write_int(const QString& section, const QString& key, int value, const QString& file = {});
void GLB_write_flag(const QString& section, const QString& key, bool value,
                    const QString& file = {});
void GLB_write_set(const QString& section, const QString& key, const TSmallNumberSet& value,
                   const QString& file = {});

// A flag's text: true when it begins with "Y" or "T" (any case).
bool GLB_flag_of_text(const QString& text);

// The text forms of a set, shared by reading, writing and the tests.
TSmallNumberSet GLB_parse_set(const QString& text);
QString GLB_format_set(const TSmallNumberSet& set);
