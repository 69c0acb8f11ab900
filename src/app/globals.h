#pragma once

#include "app/settings_general.h"

#include <QString>
#include <array>

// Process-wide values fixed at start (a few, like the base directory and the
// message-box caption, change later through their own routines).
struct TGlobalValues {
    QString startup_directory;  // ends in "/"
    QString program_directory;  // ends in "/"
    QString default_section = settings::general::kSection;
    QString settings_file_name = QStringLiteral("Korvelan.ini");
    QString texts_file_name = QStringLiteral("Korvelan.txt");
    QString settings_file_path;
    bool settings_file_on_cdrom = false;
    bool store_settings_between_sessions = false;
    bool beeps_off = false;
    QChar decimal_separator = u'.';
    QChar time_separator = u':';
    // Every system this runs on is of the modern family: its sound devices
    // report a missing driver as a missing file, and it can copy the disc.
    bool modern_platform_family = true;
    int os_major_version = 0;
    int os_minor_version = 0;
    bool screen_palette_based = false;
    qint64 screen_colours = 1 << 24;
    std::array<double, 91> sine_table{};
    QString base_directory;
    QString message_box_caption;
    QString out_of_memory_text;
    QString help_file;
};

TGlobalValues& GLB();

// The start of start-up: constants, sine table, directories, the settings
// file check and the values read from the settings and the system.
void GLB_initialise_process_values(const QString& startupDirectory,
                                   const QString& programDirectory);

void GLB_fill_sine_table(std::array<double, 91>& table);
