#include "control/TrendixCtrl.h"

// ---------------------------------------------------------------------------------------------
// Text annotations and host objects

std::int16_t CTrendixCtrl::AddText(const std::string&, float, float, std::int16_t, std::int16_t,
                                   const std::string&, std::int16_t, std::int16_t) {
    Pending("AddText");
}
void CTrendixCtrl::ModifyText(const std::string&, const std::string&) {
    Pending("ModifyText");
}
void CTrendixCtrl::AddTextDialog() {
    Pending("AddTextDialog");
}
void CTrendixCtrl::HideVariableDialog() {
    Pending("HideVariableDialog");
}
std::int16_t CTrendixCtrl::NewLine(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                   std::int16_t) {
    Pending("NewLine");
}
std::int16_t CTrendixCtrl::NewPolygon(std::int16_t, std::int16_t) {
    Pending("NewPolygon");
}
std::int16_t CTrendixCtrl::NewText(const std::string&, double, double, std::int16_t) {
    Pending("NewText");
}
void CTrendixCtrl::ChangeText(std::int16_t, const std::string&, double, double, std::int16_t) {
    Pending("ChangeText");
}
void CTrendixCtrl::SetXYData(std::int16_t, std::int16_t, double, double) {
    Pending("SetXYData");
}
bool CTrendixCtrl::GetXYData(std::int16_t, std::int16_t, double&, double&) {
    Pending("GetXYData");
}
void CTrendixCtrl::SetTextAttribute(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                    const std::string&, std::int16_t, std::int16_t) {
    Pending("SetTextAttribute");
}
void CTrendixCtrl::SetLineAttribute(std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                    std::int16_t, std::int16_t, std::int16_t) {
    Pending("SetLineAttribute");
}
std::int16_t CTrendixCtrl::SetObject(std::int16_t, std::int16_t, std::int16_t) {
    Pending("SetObject");
}
