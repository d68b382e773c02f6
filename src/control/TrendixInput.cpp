// The control's window input: mouse buttons and movement, keys, scroll bars and timers.
#include "control/TrendixCtrl.h"

void CTrendixCtrl::OnLButtonDown(int, int, int) {}
void CTrendixCtrl::OnLButtonUp(int, int, int) {}
void CTrendixCtrl::OnLButtonDblClk(int, int, int) {}
void CTrendixCtrl::OnRButtonDown(int, int, int) {}
void CTrendixCtrl::OnMouseMove(int, int, int) {}
void CTrendixCtrl::OnKeyDown(int, int, int) {}
void CTrendixCtrl::OnKeyUp(int, int) {}
void CTrendixCtrl::OnChar(int) {}
void CTrendixCtrl::OnSysKeyDown(int, int) {}
void CTrendixCtrl::OnScrollBar(bool, int, int) {}
void CTrendixCtrl::OnTimer(int) {}
