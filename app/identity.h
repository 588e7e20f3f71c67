// The application's identity: its organisation and name (which also place its settings file) and
// its version. Set before the application object is made.
#pragma once

void setApplicationIdentity();
