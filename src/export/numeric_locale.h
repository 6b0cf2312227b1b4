#pragma once
// Numbers written during an export use '.' as their decimal point whatever
// the process locale says: the C numeric locale is selected for the calling
// thread while an object of this class lives.
class NumericLocaleScope {
public:
    NumericLocaleScope();
    ~NumericLocaleScope();
    NumericLocaleScope(const NumericLocaleScope&) = delete;
    NumericLocaleScope& operator=(const NumericLocaleScope&) = delete;

private:
    void* previous_ = nullptr;
    void* selected_ = nullptr;
};
