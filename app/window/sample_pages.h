#pragma once

// The developer replay mode: instead of asking the phone, each poll reads one of a few sample
// pages kept with the sources, chosen by the phone type and the sample number 1 to 3.

#include <QString>

class SamplePages {
public:
    // The folder of the sample pages: $VORBEL_SAMPLES_DIR when set; otherwise "samples/moi"
    // beside the program or one folder above it (the build folder inside the checkout); otherwise
    // the one in the source tree the program was built from.
    static QString folder();

    // The file name for phone type 0 or 1 and sample number 1 to 3; empty for anything else.
    static QString fileName(int phoneType, int sampleNumber);

    // The page: the file's lines, each followed by "\r\n". An unknown type gives an empty page;
    // a file that cannot be read gives false with the message in *error.
    static bool read(const QString& folder, int phoneType, int sampleNumber, QString* page,
                     QString* error);
};
