#include "import/gltf_animation.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "import/gltf_accessors.h"
#include "import/import_file.h"
#include "import/transforms.h"

namespace import {

namespace {

// One sampler: key times in seconds and values, width numbers per value.
struct Curve {
    enum class Mode { kLinear, kStep, kCubic };
    std::vector<float> times, values;
    size_t width = 3;
    Mode mode = Mode::kLinear;
    bool rotation = false;

    // The value at time t (seconds) into out (width numbers).
    void Sample(double t, double* out) const {
        const size_t n = times.size();
        const size_t stride = mode == Mode::kCubic ? 3 * width : width;
        const size_t at = mode == Mode::kCubic ? width : 0;  // a cubic key's value sits between its tangents
        auto value = [&](size_t key, size_t c) { return double(values[key * stride + at + c]); };
        size_t k = 0;
        while (k + 1 < n && times[k + 1] <= t) ++k;
        if (t <= times[0] || k + 1 >= n || mode == Mode::kStep) {
            for (size_t c = 0; c < width; ++c) out[c] = value(t <= times[0] ? 0 : k, c);
            return;
        }
        const double dt = double(times[k + 1]) - double(times[k]);
        const double s = dt > 0 ? (t - times[k]) / dt : 0.0;
        if (mode == Mode::kCubic) {
            const double s2 = s * s, s3 = s2 * s;
            for (size_t c = 0; c < width; ++c) {
                const double out_tangent = values[k * stride + 2 * width + c], in_tangent = values[(k + 1) * stride + c];
                out[c] = (2 * s3 - 3 * s2 + 1) * value(k, c) + (s3 - 2 * s2 + s) * dt * out_tangent +
                         (-2 * s3 + 3 * s2) * value(k + 1, c) + (s3 - s2) * dt * in_tangent;
            }
        } else if (rotation) {
            const Rotation r = Slerp({value(k, 0), value(k, 1), value(k, 2), value(k, 3)},
                                     {value(k + 1, 0), value(k + 1, 1), value(k + 1, 2), value(k + 1, 3)}, s);
            out[0] = r.x, out[1] = r.y, out[2] = r.z, out[3] = r.w;
        } else {
            for (size_t c = 0; c < width; ++c) out[c] = value(k, c) + (value(k + 1, c) - value(k, c)) * s;
        }
    }
};

struct NodeCurves {
    std::optional<Curve> translation, rotation, scale;
};

// The curve of channel's sampler, checked; nullopt (with a warning) for one
// that cannot be sampled.
std::optional<Curve> ReadCurve(const tinygltf::Model& model, const tinygltf::Animation& animation, const tinygltf::AnimationChannel& channel,
                               const std::string& what, SceneBuilder& builder) {
    if (channel.sampler < 0 || size_t(channel.sampler) >= animation.samplers.size()) {
        builder.Warn(what + ": no such sampler; the channel is left out");
        return std::nullopt;
    }
    const tinygltf::AnimationSampler& sampler = animation.samplers[size_t(channel.sampler)];
    Curve curve;
    curve.rotation = channel.target_path == "rotation";
    curve.width = curve.rotation ? 4 : 3;
    if (sampler.interpolation == "STEP") curve.mode = Curve::Mode::kStep;
    else if (sampler.interpolation == "CUBICSPLINE") curve.mode = Curve::Mode::kCubic;
    curve.times = ReadFloats(model, sampler.input, 1, what + " key times");
    curve.values = ReadFloats(model, sampler.output, int(curve.width), what + " key values");
    const size_t per_key = curve.mode == Curve::Mode::kCubic ? 3 : 1;
    if (curve.times.empty() || curve.values.size() != curve.times.size() * curve.width * per_key) {
        builder.Warn(what + ": key times and values do not match; the channel is left out");
        return std::nullopt;
    }
    for (size_t k = 0; k < curve.times.size(); ++k)
        if (curve.times[k] < 0 || (k > 0 && curve.times[k] < curve.times[k - 1])) {
            builder.Warn(what + ": key times are negative or out of order; the channel is left out");
            return std::nullopt;
        }
    return curve;
}

}  // namespace

host::Matrix3 GltfLocalTransform(const tinygltf::Node& node) {
    if (node.matrix.size() == 16) return ToZUp(FromColumnMajor(node.matrix.data()));
    host::Point3 t{0, 0, 0}, s{1, 1, 1};
    Rotation r;
    if (node.translation.size() == 3) t = {float(node.translation[0]), float(node.translation[1]), float(node.translation[2])};
    if (node.scale.size() == 3) s = {float(node.scale[0]), float(node.scale[1]), float(node.scale[2])};
    if (node.rotation.size() == 4) r = {node.rotation[0], node.rotation[1], node.rotation[2], node.rotation[3]};
    return ToZUp(Compose(t, r, s));
}

int SampleGltfAnimation(const tinygltf::Model& model, size_t animation_index, const std::vector<sim::SimNode*>& nodes,
                        SceneBuilder& builder) {
    const tinygltf::Animation& animation = model.animations[animation_index];
    std::map<size_t, NodeCurves> curves;
    double last_time = 0;
    bool weights_warned = false;
    for (size_t c = 0; c < animation.channels.size(); ++c) {
        const tinygltf::AnimationChannel& channel = animation.channels[c];
        const std::string what = "animation " + std::to_string(animation_index) + " channel " + std::to_string(c);
        if (channel.target_path == "weights") {
            if (!weights_warned) builder.Warn(what + ": morph target weights are not imported");
            weights_warned = true;
            continue;
        }
        if (channel.target_node < 0 || size_t(channel.target_node) >= nodes.size() || !nodes[size_t(channel.target_node)]) continue;
        std::optional<Curve>* slot = nullptr;
        NodeCurves& node_curves = curves[size_t(channel.target_node)];
        if (channel.target_path == "translation") slot = &node_curves.translation;
        else if (channel.target_path == "rotation") slot = &node_curves.rotation;
        else if (channel.target_path == "scale") slot = &node_curves.scale;
        if (!slot) {
            builder.Warn(what + ": unknown target path \"" + channel.target_path + "\"; left out");
            continue;
        }
        *slot = ReadCurve(model, animation, channel, what, builder);
        if (*slot) last_time = std::max(last_time, double((*slot)->times.back()));
    }
    double frames = std::ceil(last_time * kFramesPerSecond - 1e-6);
    if (frames > kMaxFrames) {
        builder.Warn("animation " + std::to_string(animation_index) + " is cut at frame " + std::to_string(kMaxFrames));
        frames = kMaxFrames;
    }
    const int last_frame = std::max(0, int(frames));
    for (auto& [index, node_curves] : curves) {
        if (!node_curves.translation && !node_curves.rotation && !node_curves.scale) continue;
        const tinygltf::Node& node = model.nodes[index];
        double t[4] = {0, 0, 0, 0}, r[4] = {0, 0, 0, 1}, s[4] = {1, 1, 1, 0};  // four each: Sample writes up to four
        if (node.translation.size() == 3) std::copy(node.translation.begin(), node.translation.end(), t);
        if (node.rotation.size() == 4) std::copy(node.rotation.begin(), node.rotation.end(), r);
        if (node.scale.size() == 3) std::copy(node.scale.begin(), node.scale.end(), s);
        sim::TransformTrack& track = nodes[index]->Transform();
        for (int frame = 0; frame <= last_frame; ++frame) {
            const double time = double(frame) / kFramesPerSecond;
            if (node_curves.translation) node_curves.translation->Sample(time, t);
            if (node_curves.rotation) node_curves.rotation->Sample(time, r);
            if (node_curves.scale) node_curves.scale->Sample(time, s);
            track.SetKey(frame * 160, Limited(ToZUp(Compose({Limited(t[0]), Limited(t[1]), Limited(t[2])}, {r[0], r[1], r[2], r[3]},
                                                            {Limited(s[0]), Limited(s[1]), Limited(s[2])}))));
        }
    }
    return last_frame;
}

}  // namespace import
