#include "sim/primitives.h"

#include <cmath>

namespace sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

int RoundUpTo4(int n) { return n < 4 ? 4 : (n + 3) / 4 * 4; }

host::Face MakeFace(uint32_t a, uint32_t b, uint32_t c, uint32_t sm_group, uint16_t material_id = 0) {
    host::Face face;
    face.v[0] = a;
    face.v[1] = b;
    face.v[2] = c;
    face.smGroup = sm_group;
    face.SetMaterialId(material_id);
    return face;
}

// Appends a grid of (u_count + 1) × (v_count + 1) vertices spanning origin +
// [0,1]·u_axis + [0,1]·v_axis, with outward-facing triangles (u × v).
void AddGrid(MeshData& mesh, const host::Point3& origin, const host::Point3& u_axis, const host::Point3& v_axis,
             int u_count, int v_count, uint32_t sm_group, uint16_t material_id) {
    MapChannelData& uv = mesh.channels[1];
    const auto base = static_cast<uint32_t>(mesh.verts.size());
    for (int j = 0; j <= v_count; ++j) {
        for (int i = 0; i <= u_count; ++i) {
            const float s = float(i) / float(u_count), t = float(j) / float(v_count);
            mesh.verts.push_back(origin + u_axis * s + v_axis * t);
            uv.verts.push_back({s, t, 0});
        }
    }
    const auto row = static_cast<uint32_t>(u_count + 1);
    for (int j = 0; j < v_count; ++j) {
        for (int i = 0; i < u_count; ++i) {
            const uint32_t a = base + uint32_t(j) * row + uint32_t(i), b = a + 1, c = a + row, d = c + 1;
            mesh.faces.push_back(MakeFace(a, b, d, sm_group, material_id));
            mesh.faces.push_back(MakeFace(a, d, c, sm_group, material_id));
            uv.faces.push_back({{a, b, d}});
            uv.faces.push_back({{a, d, c}});
        }
    }
}

}  // namespace

MeshData BuildBox(float width, float length, float height, int x_segments, int y_segments, int z_segments) {
    MeshData mesh;
    const float hx = width / 2, hy = length / 2;
    const host::Point3 x(width, 0, 0), y(0, length, 0), z(0, 0, height);
    // bottom, top, front (−y), right (+x), back (+y), left (−x)
    AddGrid(mesh, {-hx, hy, 0}, x, -y, x_segments, y_segments, 1u << 0, 0);
    AddGrid(mesh, {-hx, -hy, height}, x, y, x_segments, y_segments, 1u << 1, 1);
    AddGrid(mesh, {-hx, -hy, 0}, x, z, x_segments, z_segments, 1u << 2, 2);
    AddGrid(mesh, {hx, -hy, 0}, y, z, y_segments, z_segments, 1u << 3, 3);
    AddGrid(mesh, {hx, hy, 0}, -x, z, x_segments, z_segments, 1u << 4, 4);
    AddGrid(mesh, {-hx, hy, 0}, -y, z, y_segments, z_segments, 1u << 5, 5);
    return mesh;
}

MeshData BuildSphere(float radius, int segments) {
    MeshData mesh;
    const int around = RoundUpTo4(segments), rings = around / 2;
    MapChannelData& uv = mesh.channels[1];
    // Rows of (around + 1) vertices from the north pole down; the seam column
    // is doubled so texture coordinates wrap.
    for (int r = 0; r <= rings; ++r) {
        const double theta = kPi * r / rings;
        const float z = r == 0 ? radius : (r == rings ? -radius : float(radius * std::cos(theta)));
        const double ring = r == 0 || r == rings ? 0.0 : radius * std::sin(theta);
        for (int a = 0; a <= around; ++a) {
            const int quarter = a % (around / 4);
            const double phi = 2 * kPi * a / around;
            // Quarter points are exact so the mesh spans exactly twice the radius.
            float x = float(ring * std::cos(phi)), y = float(ring * std::sin(phi));
            if (quarter == 0) {
                const int q = (a / (around / 4)) % 4;
                x = float(q == 0 ? ring : (q == 2 ? -ring : 0));
                y = float(q == 1 ? ring : (q == 3 ? -ring : 0));
            }
            mesh.verts.push_back({x, y, z});
            uv.verts.push_back({float(a) / float(around), 1.0f - float(r) / float(rings), 0});
        }
    }
    const auto row = static_cast<uint32_t>(around + 1);
    for (int r = 0; r < rings; ++r) {
        for (int a = 0; a < around; ++a) {
            const uint32_t p = uint32_t(r) * row + uint32_t(a), q = p + 1, s = p + row, t = s + 1;
            if (r != 0) {
                mesh.faces.push_back(MakeFace(p, s, q, 1));
                uv.faces.push_back({{p, s, q}});
            }
            if (r != rings - 1) {
                mesh.faces.push_back(MakeFace(q, s, t, 1));
                uv.faces.push_back({{q, s, t}});
            }
        }
    }
    return mesh;
}

MeshData BuildCylinder(float radius, float height, int sides) {
    MeshData mesh;
    const int n = RoundUpTo4(sides);
    MapChannelData& uv = mesh.channels[1];
    auto rim = [&](int i) {
        const int q = i % n;
        if (q % (n / 4) == 0) {
            const int k = q / (n / 4);
            return host::Point3(k == 0 ? radius : (k == 2 ? -radius : 0), k == 1 ? radius : (k == 3 ? -radius : 0), 0);
        }
        const double phi = 2 * kPi * q / n;
        return host::Point3(float(radius * std::cos(phi)), float(radius * std::sin(phi)), 0);
    };
    // Side: two rows of n + 1 vertices.
    for (int level = 0; level < 2; ++level) {
        for (int i = 0; i <= n; ++i) {
            host::Point3 p = rim(i);
            p.z = level == 0 ? 0 : height;
            mesh.verts.push_back(p);
            uv.verts.push_back({float(i) / float(n), float(level), 0});
        }
    }
    const auto row = static_cast<uint32_t>(n + 1);
    for (uint32_t i = 0; i < uint32_t(n); ++i) {
        const uint32_t a = i, b = i + 1, c = i + row, d = c + 1;
        mesh.faces.push_back(MakeFace(a, b, d, 1, 2));
        mesh.faces.push_back(MakeFace(a, d, c, 1, 2));
        uv.faces.push_back({{a, b, d}});
        uv.faces.push_back({{a, d, c}});
    }
    // Caps: a centre and n rim vertices each.
    for (int cap = 0; cap < 2; ++cap) {
        const float z = cap == 0 ? 0 : height;
        const auto centre = static_cast<uint32_t>(mesh.verts.size());
        mesh.verts.push_back({0, 0, z});
        uv.verts.push_back({0.5f, 0.5f, 0});
        for (int i = 0; i < n; ++i) {
            host::Point3 p = rim(i);
            uv.verts.push_back({0.5f + p.x / (2 * radius), 0.5f + p.y / (2 * radius), 0});
            p.z = z;
            mesh.verts.push_back(p);
        }
        for (uint32_t i = 0; i < uint32_t(n); ++i) {
            const uint32_t a = centre + 1 + i, b = centre + 1 + (i + 1) % uint32_t(n);
            const uint16_t id = cap == 0 ? 1 : 0;
            const uint32_t group = cap == 0 ? 2u : 4u;
            if (cap == 0) {
                mesh.faces.push_back(MakeFace(centre, b, a, group, id));
                uv.faces.push_back({{centre, b, a}});
            } else {
                mesh.faces.push_back(MakeFace(centre, a, b, group, id));
                uv.faces.push_back({{centre, a, b}});
            }
        }
    }
    return mesh;
}

}  // namespace sim
