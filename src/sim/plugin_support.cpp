#include "sim/plugin_support.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <variant>

#include "base/format.h"
#include "host/material.h"
#include "host/texture.h"

namespace sim {

namespace {

using ParamValue = std::variant<int, float, host::Color, std::string, host::Material*, host::Texture*>;

ParamValue DefaultOf(const host::ParamDef& def) {
    switch (def.type) {
        case host::ParamType::kInt: return def.defaultInt;
        case host::ParamType::kBool: return def.defaultInt != 0 ? 1 : 0;
        case host::ParamType::kFloat: return def.defaultFloat;
        case host::ParamType::kColor: return def.defaultColor;
        case host::ParamType::kString: return def.defaultString;
        case host::ParamType::kMaterial: return static_cast<host::Material*>(nullptr);
        case host::ParamType::kTexture: return static_cast<host::Texture*>(nullptr);
    }
    return 0;
}

class SimParamBlock : public host::ParamBlock {
public:
    SimParamBlock(const host::ParamBlockDesc& desc, host::ReferenceTarget* owner) : desc_(desc), owner_(owner) {
        for (const host::ParamDef& def : desc_.params) values_[def.id] = DefaultOf(def);
    }

    host::ClassId ClassID() const override { return {0x82, 0}; }
    const host::ParamBlockDesc& GetDesc() const override { return desc_; }
    void SetOwner(host::ReferenceTarget* owner) override { owner_ = owner; }

    bool GetValue(int id, host::TimeValue, int& value, host::Interval*) const override { return Get(id, value, {host::ParamType::kInt, host::ParamType::kBool}); }
    bool GetValue(int id, host::TimeValue, float& value, host::Interval*) const override { return Get(id, value, {host::ParamType::kFloat}); }
    bool GetValue(int id, host::TimeValue, host::Color& value, host::Interval*) const override { return Get(id, value, {host::ParamType::kColor}); }
    bool GetValue(int id, host::TimeValue, std::string& value, host::Interval*) const override { return Get(id, value, {host::ParamType::kString}); }
    bool GetValue(int id, host::TimeValue, host::Material*& value, host::Interval*) const override { return Get(id, value, {host::ParamType::kMaterial}); }
    bool GetValue(int id, host::TimeValue, host::Texture*& value, host::Interval*) const override { return Get(id, value, {host::ParamType::kTexture}); }

    bool SetValue(int id, host::TimeValue, int value) override {
        const host::ParamDef* def = desc_.Find(id);
        if (!def || (def->type != host::ParamType::kInt && def->type != host::ParamType::kBool)) return false;
        if (def->type == host::ParamType::kBool) value = value != 0 ? 1 : 0;
        if (def->type == host::ParamType::kInt && def->hasRange)
            value = std::clamp(value, int(def->rangeMin), int(def->rangeMax));
        return Store(id, value);
    }
    bool SetValue(int id, host::TimeValue, float value) override {
        const host::ParamDef* def = desc_.Find(id);
        if (!def || def->type != host::ParamType::kFloat) return false;
        if (def->hasRange) value = std::clamp(value, def->rangeMin, def->rangeMax);
        return Store(id, value);
    }
    bool SetValue(int id, host::TimeValue, const host::Color& value) override { return Set(id, value, host::ParamType::kColor); }
    bool SetValue(int id, host::TimeValue, const std::string& value) override { return Set(id, value, host::ParamType::kString); }
    bool SetValue(int id, host::TimeValue, host::Material* value) override { return Set(id, value, host::ParamType::kMaterial); }
    bool SetValue(int id, host::TimeValue, host::Texture* value) override { return Set(id, value, host::ParamType::kTexture); }

    void ResetAll() override {
        for (const host::ParamDef& def : desc_.params) Store(def.id, DefaultOf(def));
    }

private:
    template <class T>
    bool Get(int id, T& value, std::initializer_list<host::ParamType> types) const {
        const host::ParamDef* def = desc_.Find(id);
        if (!def || std::find(types.begin(), types.end(), def->type) == types.end()) return false;
        value = std::get<T>(values_.at(id));
        return true;
    }
    template <class T>
    bool Set(int id, const T& value, host::ParamType type) {
        const host::ParamDef* def = desc_.Find(id);
        if (!def || def->type != type) return false;
        return Store(id, value);
    }
    bool Store(int id, ParamValue value) {
        values_[id] = std::move(value);
        if (owner_) owner_->OnReferenceChanged(this, host::RefMessage::kChanged, id);
        return true;
    }

    const host::ParamBlockDesc& desc_;
    host::ReferenceTarget* owner_;
    std::map<int, ParamValue> values_;
};

class SimParamMap : public host::ParamMap {
public:
    explicit SimParamMap(host::ParamBlock& block) : block_(block) {
        for (const host::ParamDef& def : block_.GetDesc().params) {
            if (def.control == host::ControlType::kNone) continue;
            controls_[def.id] = Control{};
            Show(def);
        }
    }

    host::ParamBlock& GetParamBlock() const override { return block_; }
    void SetUserDlgProc(host::ParamMapUserDlgProc* proc) override { proc_ = proc; }

    void Invalidate(int id) override {
        for (const host::ParamDef& def : block_.GetDesc().params) {
            if ((id == -1 || def.id == id) && controls_.count(def.id)) {
                Show(def);
                ++controls_[def.id].refreshes;
            }
        }
        if (proc_) proc_->Update(*this, 0);
    }
    void Enable(int id, bool enabled) override {
        const auto found = controls_.find(id);
        if (found != controls_.end()) found->second.enabled = enabled;
    }
    bool IsEnabled(int id) const override {
        const auto found = controls_.find(id);
        return found != controls_.end() && found->second.enabled;
    }
    int RefreshCount(int id) const override {
        const auto found = controls_.find(id);
        return found == controls_.end() ? 0 : found->second.refreshes;
    }
    std::string ShownValue(int id) const override {
        const auto found = controls_.find(id);
        return found == controls_.end() ? std::string() : found->second.shown;
    }

    bool SetFromUser(int id, int value) override { return Usable(id) && block_.SetValue(id, 0, value) && Refresh(id); }
    bool SetFromUser(int id, float value) override { return Usable(id) && block_.SetValue(id, 0, value) && Refresh(id); }
    bool SetFromUser(int id, host::Material* value) override {
        return Usable(id) && (!proc_ || proc_->AcceptDrop(*this, id, value)) && block_.SetValue(id, 0, value) && Refresh(id);
    }
    bool SetFromUser(int id, host::Texture* value) override {
        return Usable(id) && (!proc_ || proc_->AcceptDrop(*this, id, value)) && block_.SetValue(id, 0, value) && Refresh(id);
    }

private:
    struct Control {
        bool enabled = true;
        int refreshes = 0;
        std::string shown;
    };

    bool Usable(int id) const { return IsEnabled(id); }
    bool Refresh(int id) {
        Invalidate(id);
        return true;
    }
    void Show(const host::ParamDef& def) {
        std::string& shown = controls_[def.id].shown;
        switch (def.type) {
            case host::ParamType::kInt:
            case host::ParamType::kBool: {
                int value = 0;
                block_.GetValue(def.id, 0, value);
                shown = ToS(int32_t(value));
                break;
            }
            case host::ParamType::kFloat: {
                float value = 0;
                block_.GetValue(def.id, 0, value);
                shown = ToS(double(value));
                break;
            }
            case host::ParamType::kColor: {
                host::Color c;
                block_.GetValue(def.id, 0, c);
                shown = std::string(ToS(double(c.r))) + " " + ToS(double(c.g)) + " " + ToS(double(c.b));
                break;
            }
            case host::ParamType::kString: block_.GetValue(def.id, 0, shown); break;
            case host::ParamType::kMaterial: {
                host::Material* m = nullptr;
                block_.GetValue(def.id, 0, m);
                shown = m ? m->GetName() : "None";
                break;
            }
            case host::ParamType::kTexture: {
                host::Texture* t = nullptr;
                block_.GetValue(def.id, 0, t);
                shown = t ? t->GetName() : "None";
                break;
            }
        }
    }

    host::ParamBlock& block_;
    host::ParamMapUserDlgProc* proc_ = nullptr;
    std::map<int, Control> controls_;
};

}  // namespace

std::unique_ptr<host::ParamBlock> MakeParamBlock(const host::ParamBlockDesc& desc, host::ReferenceTarget* owner) {
    return std::make_unique<SimParamBlock>(desc, owner);
}

std::unique_ptr<host::ParamMap> MakeParamMap(host::ParamBlock& block) { return std::make_unique<SimParamMap>(block); }

void MemoryChunkSaver::BeginChunk(uint16_t id) {
    open_.push_back(bytes_.size());
    bytes_.resize(bytes_.size() + 6);
    std::memcpy(&bytes_[open_.back()], &id, 2);
}

void MemoryChunkSaver::EndChunk() {
    if (open_.empty()) return;
    const auto size = static_cast<uint32_t>(bytes_.size() - open_.back());
    std::memcpy(&bytes_[open_.back() + 2], &size, 4);
    open_.pop_back();
}

void MemoryChunkSaver::Write(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
}

MemoryChunkLoader::MemoryChunkLoader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

bool MemoryChunkLoader::OpenChunk() {
    const size_t limit = levels_.empty() ? bytes_.size() : levels_.back().end;
    if (pos_ + 6 > limit) return false;
    uint16_t id;
    uint32_t size;
    std::memcpy(&id, &bytes_[pos_], 2);
    std::memcpy(&size, &bytes_[pos_ + 2], 4);
    if (size < 6 || size > limit - pos_) return false;
    levels_.push_back({id, pos_ + 6, pos_ + size});
    pos_ += 6;
    return true;
}

void MemoryChunkLoader::CloseChunk() {
    if (levels_.empty()) return;
    pos_ = levels_.back().end;
    levels_.pop_back();
}

size_t MemoryChunkLoader::Read(void* data, size_t size) {
    const size_t limit = levels_.empty() ? bytes_.size() : levels_.back().end;
    const size_t count = std::min(size, limit - std::min(pos_, limit));
    if (count) std::memcpy(data, &bytes_[pos_], count);
    pos_ += count;
    return count;
}

}  // namespace sim
