// World data speed, as ratios against plain baselines measured in the same
// run:
//   - loading a large world file against reading its bytes with one fread;
//   - building a region's mesh against a loop that writes as many vertices,
//     for 16 to 1024 zones per region (the face hiding test is quadratic in
//     the zones of a region).
// Run: build/bench/bench_world

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <malloc.h>
#include <map>
#include <memory>

#include "src/world/RegionMeshBuilder.h"
#include "src/world/IndexedWorld.h"
#include "support/BinaryReader.h"
#include "support/BinaryWriter.h"
#include "support/VBO.h"

namespace {

const float sizeOneCube = 1.f;
const int cubesPerRegion = 16;

// Cube types as the demo game has them: per-cube textures, some with random
// offsets, one not collidable.
void addTypes(CubeTypeManager& types) {
  for (int id = 0; id < 4; ++id) {
    types.appendCubeType(std::unique_ptr<CubeType>(
        new CubeType(1, 1, id % 2, {"a.png", "b.png", "c.png", "c.png", "c.png", "c.png"}, id != 3)));
    for (int face = 0; face < 6; ++face) {
      types[id].textureIds.face[face] = 1 + id * 6 + face;
      types[id].textureIds.faceShadowed[face] = 100 + id * 6 + face;
    }
    types[id].textureIds.shadow = 200;
  }
}

// Terrain-like zones of one region with its low corner at the origin: unit
// cubes filling the region's ground plan layer by layer. With shadows, as
// the editor's shadow computation leaves them: the three faces turned away
// from the light fully shadowed, and a quarter of the zones with six shadow
// triangles on their top face.
std::vector<CubeZone> regionZones(int count, bool withShadows = true) {
  std::vector<CubeZone> zones;
  for (int i = 0; i < count; ++i) {
    int x = i % cubesPerRegion, z = (i / cubesPerRegion) % cubesPerRegion, y = i / (cubesPerRegion * cubesPerRegion);
    CubeZone zone(i % 4, Float3(x + 0.5f, y + 0.5f, z + 0.5f), Float3(1.f, 1.f, 1.f));
    if (withShadows) {
      for (int face : {SHADOW_FACE_RIGHT, SHADOW_FACE_BOTTOM, SHADOW_FACE_FRONT}) zone.faceFullyShadowed[face] = true;
      if (i % 4 == 0)
        for (int t = 0; t < 6; ++t)
          for (Float3 corner : {Float3(-0.5f, 0.5f, -0.5f), Float3(0.5f, 0.5f, -0.5f), Float3(-0.5f, 0.5f, 0.5f)})
            zone.editShadowTriangles(SHADOW_FACE_TOP).push_back(corner * (1.f - t * 0.1f));
    }
    zones.push_back(zone);
  }
  return zones;
}

// Worlds of 32 x 4 x 32 regions, each holding 64 zones: about 25 MB, with
// or without shadow data. Written once, removed at the end of the run.
std::string worldFiles[2];

const std::string& largeWorldFile(bool withShadows) {
  std::string& path = worldFiles[withShadows ? 1 : 0];
  if (!path.empty()) return path;
  CubeTypeManager types;
  addTypes(types);
  WorldIndexator table(sizeOneCube * cubesPerRegion, sizeOneCube);
  std::vector<CubeZone> zones = regionZones(64, withShadows);
  for (int rx = -16; rx < 16; ++rx)
    for (int ry = -2; ry < 2; ++ry)
      for (int rz = -16; rz < 16; ++rz)
        for (CubeZone zone : zones) {
          zone.position += Float3(rx * 16.f, ry * 16.f, rz * 16.f);
          table.addCubeZone(zone);
        }
  BinaryWriter out;
  IndexedWorld::writeWorld(out, types, table);
  char name[] = "/tmp/cubewright-bench-world-XXXXXX";
  int fd = mkstemp(name);
  std::FILE* file = fdopen(fd, "wb");
  std::fwrite(out.data.data(), 1, out.data.size(), file);
  std::fclose(file);
  path = name;
  return path;
}

void BM_LoadWorldFile(benchmark::State& state) {
  const std::string& path = largeWorldFile(state.range(0) != 0);
  int64_t bytes = 0;
  for (auto _ : state) {
    std::unique_ptr<CubeTypeManager> types(new CubeTypeManager);
    std::unique_ptr<WorldIndexator> table(new WorldIndexator(sizeOneCube * cubesPerRegion, sizeOneCube));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    BinaryReader in(path, file);
    bytes += static_cast<int64_t>(in.bytesLeft());
    IndexedWorld::readWorld(in, *types, *table);
    std::fclose(file);
    benchmark::DoNotOptimize(table->tableRegions.data());
    // Freeing the world is not part of loading it.
    state.PauseTiming();
    table.reset();
    types.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(bytes);
}

// The baseline: the same bytes with one fread into a fresh buffer.
void BM_FreadWorldFile(benchmark::State& state) {
  const std::string& path = largeWorldFile(state.range(0) != 0);
  int64_t bytes = 0;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
    size_t got = std::fread(buffer.get(), 1, static_cast<size_t>(size), file);
    std::fclose(file);
    bytes += static_cast<int64_t>(got);
    benchmark::DoNotOptimize(buffer.get());
  }
  state.SetBytesProcessed(bytes);
}

struct MeshFixture {
  MeshFixture() {
    addTypes(types);
    cubeTypeManager = &types;
  }
  ~MeshFixture() { cubeTypeManager = nullptr; }
  CubeTypeManager types;
};

void BM_BuildRegionMesh(benchmark::State& state) {
  MeshFixture fixture;
  std::vector<CubeZone> zones = regionZones(static_cast<int>(state.range(0)));
  size_t vertices = 0;
  for (auto _ : state) {
    VBO vbo;
    RegionMeshBuilder(zones, sizeOneCube).addAllZones(vbo);
    vertices = 0;
    for (const auto& entry : vbo.geometries)
      vertices += entry.second.verticesQuadVect.size() + entry.second.verticesTriVect.size();
    benchmark::DoNotOptimize(vbo.geometries.size());
  }
  state.counters["vertices"] = static_cast<double>(vertices);
}

// The baseline: as many vertices written by a plain loop into the same
// kind of lists, one texture per face.
void BM_PlainVertexLoop(benchmark::State& state) {
  MeshFixture fixture;
  std::vector<CubeZone> zones = regionZones(static_cast<int>(state.range(0)));
  size_t vertices = 0;
  {
    VBO vbo;
    RegionMeshBuilder(zones, sizeOneCube).addAllZones(vbo);
    for (const auto& entry : vbo.geometries)
      vertices += entry.second.verticesQuadVect.size() + entry.second.verticesTriVect.size();
  }
  for (auto _ : state) {
    std::vector<Float3> positions[6];
    std::vector<Float2> coordinates[6];
    for (size_t v = 0; v < vertices; ++v) {
      float f = static_cast<float>(v);
      positions[v % 6].push_back(Float3(f, f, f));
      coordinates[v % 6].push_back(Float2(f, f));
    }
    benchmark::DoNotOptimize(positions[0].data());
    benchmark::DoNotOptimize(coordinates[0].data());
  }
  state.counters["vertices"] = static_cast<double>(vertices);
}

// Argument: 0 a world without shadow data, 1 with.
// Each benchmark runs five times; the ratios use the medians.
BENCHMARK(BM_LoadWorldFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FreadWorldFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_BuildRegionMesh)->RangeMultiplier(4)->Range(16, 1024)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainVertexLoop)->RangeMultiplier(4)->Range(16, 1024)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// Remembers the median CPU time of every benchmark so the ratios can be
// printed at the end. CPU time, because the machines we measure on are
// shared: waiting for a core is not the code's cost.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        times[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
            run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

void printRatios(const std::map<std::string, double>& t) {
  auto ratio = [&](const std::string& a, const std::string& b) {
    return t.count(a) && t.count(b) ? t.at(a) / t.at(b) : 0.0;
  };
  std::cout << std::fixed << std::setprecision(2) << "\nRatios\n"
            << "  load world file / one fread of its bytes, without shadow data: "
            << ratio("BM_LoadWorldFile/0", "BM_FreadWorldFile/0") << "\n"
            << "  load world file / one fread of its bytes, with shadow data: "
            << ratio("BM_LoadWorldFile/1", "BM_FreadWorldFile/1") << "\n";
  double previous = 0;
  for (int zones = 16; zones <= 1024; zones *= 4) {
    std::string n = std::to_string(zones);
    double build = t.count("BM_BuildRegionMesh/" + n) ? t.at("BM_BuildRegionMesh/" + n) : 0;
    std::cout << "  region mesh, " << std::setw(4) << zones << " zones: build / plain vertex loop "
              << ratio("BM_BuildRegionMesh/" + n, "BM_PlainVertexLoop/" + n) << ", "
              << build / zones * 1000 << " ns per zone";
    if (previous > 0) std::cout << ", x" << build / previous << " for 4x the zones";
    std::cout << "\n";
    previous = build;
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Keep freed memory in the process: otherwise every iteration hands its
  // memory back to the system and pays for page faults to get it again,
  // which on a virtual machine costs more than the work measured.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatios(reporter.times);
  for (const std::string& path : worldFiles)
    if (!path.empty()) std::remove(path.c_str());
  benchmark::Shutdown();
  return 0;
}
