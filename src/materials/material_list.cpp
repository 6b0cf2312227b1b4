#include "materials/material_list.h"

#include <algorithm>

namespace materials {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// -1, 0 or 1 as a is before, level with or after b in natural order.
int NaturalCompare(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the runs by value without converting them: a run of any
            // length compares without overflow.
            size_t run_a = i, run_b = j;
            while (run_a < a.size() && a[run_a] == '0') ++run_a;
            while (run_b < b.size() && b[run_b] == '0') ++run_b;
            size_t end_a = run_a, end_b = run_b;
            while (end_a < a.size() && IsDigit(a[end_a])) ++end_a;
            while (end_b < b.size() && IsDigit(b[end_b])) ++end_b;
            if (end_a - run_a != end_b - run_b) return end_a - run_a < end_b - run_b ? -1 : 1;
            for (; run_a < end_a; ++run_a, ++run_b)
                if (a[run_a] != b[run_b]) return a[run_a] < b[run_b] ? -1 : 1;
            i = end_a;
            j = end_b;
            continue;
        }
        const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    const int order = NaturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

bool MaterialList::Add(MaterialRecord record) {
    for (const MaterialRecord& held : records_)
        if (held.name == record.name) return false;
    records_.push_back(std::move(record));
    return true;
}

std::vector<MaterialRecord> MaterialList::Sorted() const {
    std::vector<MaterialRecord> sorted = records_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const MaterialRecord& a, const MaterialRecord& b) { return NaturalLess(a.name, b.name); });
    return sorted;
}

}  // namespace materials
