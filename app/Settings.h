// The settings and the user profile in the settings store: read at start-up and by the "S" key, written by
// the settings dialog and at exit (the tune number), the profile by the file-information form.
#pragma once

struct Program;

void readSettings(Program& p);
bool writeSettings(Program& p);
void readProfile(Program& p);
bool writeProfile(Program& p);
