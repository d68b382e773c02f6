#pragma once
#include "pages/PageModel.h"

#include <string>
#include <vector>

// The "Hide Variables" dialog: the variables in a shown and a hidden list, moved between them
// with "Hide >>" and "<< Show". On apply each variable is hidden when it stands in the hidden
// list and shown otherwise.
class CPlotDelCurveDlg : public CPageModel {
public:
    static constexpr char kCaption[] = "Hide Variables";
    struct Variable {
        int number = 0; // 1-based
        std::string name;
        bool hidden = false;
        bool operator==(const Variable&) const = default;
    };

    CPlotDelCurveDlg(std::vector<Variable> variables, ui::IWindowSite& site);
    void Activate() override;
    // The variables with the hidden state the user chose (after an apply).
    const std::vector<Variable>& Variables() const { return variables_; }

private:
    void OnPress(const std::string& caption) override;
    void DoApply() override;
    // Moves the selected entries of one list to the other.
    void Move(const char* from, bool hide);
    void Fill();
    // "%d:" and the name.
    static std::string Entry(const Variable& v);

    std::vector<Variable> variables_;
    std::vector<bool> hidden_; // the lists as the user arranges them
};
