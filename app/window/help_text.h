#pragma once

#include <QString>

// The fixed Dutch text of the "Help" tab, about the options.
QString helpText();
