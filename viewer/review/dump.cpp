#include "dump.h"

#include "cp1252.h"
#include "number_text.h"
#include "outcome_list.h"

#include <sstream>
#include <vector>

namespace {

void write_analysis(std::ostream& out, const analysis& a)
{
    for (int n = 1; n <= a.GetVectorCount(); ++n) {
        const _vectordef* v = a.GetVectorByNumber(n);
        const int length = a.GetVectorLength(v);
        out << "vector\t" << cp1252::to_utf8(a.GetVectorName(v)) << '\t' << length << '\n';
        for (int row = 1; row <= length; ++row) {
            out << "cell\t" << row << '\t';
            if (const char* text = a.GetCellString(v, row)) {
                out << "text\t" << cp1252::to_utf8(text) << '\n';
            } else if (double value = a.GetCellDouble(v, row); value != ANALYSIS_MISSING) {
                out << "number\t" << numtext::exact(value) << '\n';
            } else {
                out << "missing\n";
            }
        }
    }
}

// An outcome list that writes each row as it is added.
class dumplist : public outcomelist {
public:
    explicit dumplist(std::ostream& out) : out_(out) {}
    void SetColumnTitles(const std::array<std::string, 5>&) override {}
    void AddComparisonRow(const std::string& name) override { out_ << "comparison\t" << cp1252::to_utf8(name) << '\n'; }
    void AddOutcomeRow(const std::string& name, std::unique_ptr<outcomeDef> record,
                       const std::array<std::string, 4>& columns) override
    {
        out_ << "outcome\t" << cp1252::to_utf8(name);
        for (const std::string& column : columns)
            out_ << '\t' << cp1252::to_utf8(column);
        out_ << '\n';
        if (!record)
            return;
        for (const baseMethod* m : record->methods) {
            out_ << "method\t" << m->Measure() << '\t' << m->Model() << '\t'
                 << (m == record->Current() ? "current" : "other") << '\n';
            write_analysis(out_, m->Data());
        }
    }

private:
    std::ostream& out_;
};

} // namespace

bool WriteDump(const std::string& path, std::ostream& out, std::string& error)
{
    std::ostringstream text;
    dumplist list(text);
    char buffer[LOAD_BUFFER_SIZE];
    if (!CreateListView(list, path.c_str(), buffer)) {
        error = cp1252::to_utf8(buffer);
        return false;
    }
    out << "review\t" << cp1252::to_utf8(buffer) << '\n' << text.str();
    return true;
}
