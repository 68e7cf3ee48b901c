#include "dialogs/FormAboutBoxUnit.h"

#include "plugin/exports.h"

TAboutBox* _AboutBox;

extern "C" void __stdcall HintVersion(void*) {}
