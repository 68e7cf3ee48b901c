#include "hint/hint_set.h"

HintWndMgr* g_hintWndMgr;
unsigned char g_hintShown;

void ShowHints() {}
void HideHints() {}
void DestroyHintWndMgr() {}
