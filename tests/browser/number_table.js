// A table of numbers that pnpplot prints, for holding the page's number formatting to the
// program's: exports made here whose levels and offsets span many magnitudes (levels that fall
// on a rounding tie, -0, 1e22 dBc/Hz, offsets from millihertz to gigahertz), pnpplot's text
// summary of them and its JSON of the same run. Each check names a function of the page's
// pnpplotNumbers, its arguments taken from the JSON, and the text pnpplot printed for them.
'use strict';

const fs = require('fs');
const path = require('path');

// A seeded generator, so every run makes the same files.
function generator(seed) {
  let state = seed;
  return () => (state = (state * 16807) % 2147483647) / 2147483647;
}

// Writes the exports into the folder and returns their names.
function makeExports(folder) {
  const random = generator(20260);
  const names = [];
  for (let i = 0; i < 24; ++i) {
    const rows = [];
    const first = -3 + Math.floor(random() * 12);  // the decade of the first offset, 1 mHz to 100 MHz
    let offset = Math.pow(10, first) * (1 + random() * 8);
    let level = -320 + random() * 420;
    const slope = -random() * 12;
    const count = 6 + Math.floor(random() * 6);
    for (let k = 0; k < count; ++k) {
      // One point a file stands on a decade, its level on a tie of two decimals (x.125, ...).
      const text = k === 2 ? String(Math.pow(10, Math.ceil(Math.log10(offset)))) : offset.toPrecision(7);
      const noise = k === 2 ? (Math.round(level) + [0.125, 0.375, 0.625, 0.875][i % 4]).toFixed(3) : level.toFixed(4);
      rows.push(text + ',' + noise + ',' + (level - 10 - random() * 10).toFixed(3));
      offset = Number(text) * Math.pow(10, 0.2 + random() * 0.8);
      level += slope * (0.5 + random());
    }
    names.push('n' + String(i).padStart(2, '0') + '.csv');
    fs.writeFileSync(path.join(folder, names[names.length - 1]), rows.join('\n') + '\n');
  }
  // Levels beyond what the integration holds, and a floor of -0.
  fs.writeFileSync(path.join(folder, 'huge.csv'), '1,1e22,-0.00\n10,3e21,-10.125\n100,-100.5,-120\n');
  names.push('huge.csv');
  return names;
}

// "name  value" lines of pnpplot's text summary, per trace.
function summaryOf(text) {
  const traces = {};
  let current = null;
  let last = null;
  for (const line of text.split('\n')) {
    if (line.startsWith('  ')) {
      const name = line.slice(2, 16).trim() || last;
      (current[name] = current[name] || []).push(line.slice(16));
      last = name;
    } else if (line && !line.includes('written to')) {
      current = traces[line] = {};
    }
  }
  return traces;
}

// The checks of one run: its text summary and its JSON. A figure the JSON holds as null
// overflowed a double.
function checksOf(text, json) {
  const printed = summaryOf(text);
  const checks = [];
  const add = (call, args, expected, what) => checks.push({ call, args, expected, what });
  const figure = (value) => (value === null ? Infinity : value);
  // "10 kHz    " and so on: an offset label in a column of its own, as the summary has it.
  const labelled = (label) => label + ' '.repeat(label.length < 10 ? 10 - label.length : 1);
  for (const trace of json.traces) {
    const lines = printed[trace.caption];
    const what = trace.caption;
    // A carrier to the millihertz, at most 12 significant digits.
    const carrierDigits = Math.min(12, Math.max(1, Math.floor(Math.log10(trace.carrier_hz)) + 4));
    add('withPrefix', [trace.carrier_hz, 'Hz', carrierDigits], lines.carrier[0].split(' (')[0], what + ' carrier');
    const offsets = lines.points[0].split(', offsets ')[1].split(' to ');
    add('offsetText', [trace.offsets_hz[0]], offsets[0], what + ' first offset');
    add('offsetText', [trace.offsets_hz[1]], offsets[1], what + ' last offset');
    trace.spot_noise.forEach((spot, i) => {
      const line = lines['spot noise'][i];
      const label = line.slice(0, line.search(/ -?[0-9]/) + 1).trimEnd();
      add('offsetText', [spot.offset_hz], label, what + ' spot offset');
      const level = line.slice(labelled(label).length).split(' dBc/Hz')[0];
      add('fixed', [spot.level_dbc_hz, 2], level, what + ' spot level at ' + label);
    });
    const band = trace.integration;
    if (band) {
      const range = lines.integrated[0].split(',')[0].split(' (')[0].split(' to ');
      add('offsetText', [band.from_hz], range[0], what + ' band from');
      add('offsetText', [band.to_hz], range[1], what + ' band to');
      add('phaseNoiseText', [figure(band.phase_noise_dbc)], lines['phase noise'][0], what + ' phase noise');
      add('rmsPhaseText', [figure(band.rms_phase_rad), figure(band.rms_phase_deg)], lines['RMS phase'][0], what + ' RMS phase');
      add('jitterText', [figure(band.rms_jitter_s)], lines['RMS jitter'][0], what + ' jitter');
      add('residualFmText', [figure(band.residual_fm_hz)], lines['residual FM'][0], what + ' residual FM');
    }
    trace.spurs.forEach((spur, i) => {
      const line = lines.spurs[i + 1];
      const parts = line.split(', ');
      const label = line.slice(0, line.search(/ -?[0-9]/) + 1).trimEnd();
      add('offsetText', [spur.offset_hz], label, what + ' spur offset');
      add('fixed', [spur.level_dbc_hz, 2], parts[0].slice(labelled(label).length).split(' dBc/Hz')[0], what + ' spur level');
      add('fixed', [spur.power_dbc, 3], parts[1].split(' dBc')[0], what + ' spur power');
      add('jitterText', [figure(spur.jitter_s)], parts[2].split(' (outside')[0], what + ' spur jitter');
    });
    if (trace.floor_margin && trace.floor_margin.min_db !== null) {
      const [decibels, at] = lines['floor margin'][0].slice('smallest '.length).split(' at ');
      add('decibelText', [trace.floor_margin.min_db], decibels, what + ' floor margin');
      add('offsetText', [trace.floor_margin.at_hz], at, what + ' floor margin offset');
    }
  }
  return checks;
}

module.exports = { makeExports, checksOf, summaryOf };
