// pnpplot's HTML report's script, in files by job that the build joins, in the order of
// CMakeLists.txt, into one function of the page: each file's functions and variables are the
// others'. This one: numbers as pnpplot prints them and offsets as -r reads them.

// Numbers as pnpplot prints them (src/units/si_units.cpp), digit for digit: a double is
// rounded from its exact binary value, halves to even, as std::to_chars rounds. The page test
// holds these to pnpplot's printed text over a table of values.
var pnpplotNumbers = (function () {
  'use strict';

  var one = BigInt(1), two = BigInt(2), ten = BigInt(10);

  // The value as an exact mantissa times a power of two.
  function binary(value) {
    var view = new DataView(new ArrayBuffer(8));
    view.setFloat64(0, value);
    var high = view.getUint32(0), low = view.getUint32(4);
    var biased = (high >>> 20) & 0x7ff;
    var mantissa = BigInt(high & 0xfffff) * BigInt(4294967296) + BigInt(low);
    if (biased === 0) return { mantissa: mantissa, exponent: -1074 };
    return { mantissa: mantissa + BigInt(4503599627370496), exponent: biased - 1075 };
  }
  // A finite magnitude times 10^shift, rounded to a whole number, halves to even.
  function roundedScaled(magnitude, shift) {
    var parts = binary(magnitude);
    var numerator = parts.mantissa, denominator = one;
    if (parts.exponent >= 0) numerator = numerator << BigInt(parts.exponent);
    else denominator = denominator << BigInt(-parts.exponent);
    if (shift >= 0) numerator = numerator * ten ** BigInt(shift);
    else denominator = denominator * ten ** BigInt(-shift);
    var quotient = numerator / denominator, twice = (numerator % denominator) * two;
    if (twice > denominator || (twice === denominator && quotient % two === one)) quotient = quotient + one;
    return quotient;
  }
  function sign(value) { return value < 0 || Object.is(value, -0) ? '-' : ''; }
  function nonFinite(value) { return value !== value ? 'nan' : value > 0 ? 'inf' : '-inf'; }

  // The value with a fixed number of decimals ("-119.86").
  function fixed(value, decimals) {
    if (!isFinite(value)) return nonFinite(value);
    var digits = roundedScaled(Math.abs(value), decimals).toString();
    while (digits.length <= decimals) digits = '0' + digits;
    var point = digits.length - decimals;
    return sign(value) + digits.slice(0, point) + (decimals > 0 ? '.' + digits.slice(point) : '');
  }
  // The significant digits of a finite magnitude and the decimal exponent of the first.
  function decimalParts(magnitude, digits) {
    if (magnitude === 0) return { digits: '0'.repeat(digits), exponent: 0 };
    var places = digits - 1, lowest = ten ** BigInt(places), beyond = lowest * ten;
    var exponent = Math.floor(Math.log10(magnitude));
    for (;;) {
      var rounded = roundedScaled(magnitude, places - exponent);
      if (rounded >= beyond) ++exponent;
      else if (rounded < lowest) --exponent;
      else return { digits: rounded.toString(), exponent: exponent };
    }
  }
  function exponentText(exponent) {
    var size = Math.abs(exponent);
    return 'e' + (exponent < 0 ? '-' : '+') + (size < 10 ? '0' : '') + size;
  }
  // Scientific notation with the given significant digits ("2.5823e+28").
  function scientific(value, digits) {
    if (!isFinite(value)) return nonFinite(value);
    var parts = decimalParts(Math.abs(value), digits);
    return sign(value) + parts.digits[0] + (digits > 1 ? '.' + parts.digits.slice(1) : '') + exponentText(parts.exponent);
  }
  // The significant digits, trailing zeros kept; far from 1 in scientific notation.
  function significant(value, digits) {
    if (!isFinite(value) || value === 0) return fixed(value, digits - 1);
    var exponent = decimalParts(Math.abs(value), digits).exponent;
    if (exponent < -6 || exponent >= 9) return scientific(value, digits);
    return fixed(value, Math.max(0, digits - 1 - exponent));
  }
  // As short as it reads back exactly, fixed or scientific, whichever is shorter.
  function shortest(value) {
    if (!isFinite(value)) return nonFinite(value);
    if (value === 0) return sign(value) + '0';
    var text = Math.abs(value).toExponential(), mark = text.indexOf('e');
    var digits = text.slice(0, mark).replace('.', ''), exponent = parseInt(text.slice(mark + 1), 10);
    var inScientific = digits[0] + (digits.length > 1 ? '.' + digits.slice(1) : '') + exponentText(exponent);
    var plain = exponent >= digits.length - 1 ? digits + '0'.repeat(exponent - digits.length + 1)
              : exponent >= 0 ? digits.slice(0, exponent + 1) + '.' + digits.slice(exponent + 1)
              : '0.' + '0'.repeat(-exponent - 1) + digits;
    return sign(value) + (plain.length <= inScientific.length ? plain : inScientific);
  }
  function withoutTrailingZeros(number) {
    var mark = number.indexOf('e');
    var exponent = mark < 0 ? '' : number.slice(mark);
    var mantissa = mark < 0 ? number : number.slice(0, mark);
    if (mantissa.indexOf('.') >= 0) mantissa = mantissa.replace(/0+$/, '').replace(/\.$/, '');
    return mantissa + exponent;
  }
  var prefixes = { '-5': 'f', '-4': 'p', '-3': 'n', '-2': 'u', '-1': 'm', '0': '', '1': 'k', '2': 'M', '3': 'G', '4': 'T' };
  // The power of 1000 whose prefix shows the value; null beyond the prefixes.
  function prefixPower(value, digits) {
    if (!isFinite(value) || value === 0) return 0;
    var exponent = decimalParts(Math.abs(value), digits > 0 ? digits : 15).exponent;
    var power = exponent >= 0 ? Math.floor(exponent / 3) : -Math.floor((2 - exponent) / 3);
    return power < -5 || power > 4 ? null : power;
  }
  // value * 1000^power, the whole power of 1000 on the side that keeps it exact.
  function scaled(value, power) {
    var scale = 1;
    for (var i = 0; i < Math.abs(power); ++i) scale *= 1000;
    return power < 0 ? value / scale : value * scale;
  }
  // A label: "12.589 kHz", trailing zeros left off; with no digits as short as it reads back.
  // Drawn on the chart, micro is the micro sign (U+00B5), as the chart writes it.
  function label(value, unit, digits, drawn) {
    digits = digits || 0;
    var power = prefixPower(value, digits);
    if (power === null) return withoutTrailingZeros(digits > 0 ? scientific(value, digits) : shortest(value)) + ' ' + unit;
    var inUnits = scaled(value, -power);
    return (digits > 0 ? withoutTrailingZeros(significant(inUnits, digits)) : shortest(inUnits)) + ' ' +
           (drawn && power === -2 ? '\u00b5' : prefixes[power]) + unit;
  }
  function withPrefix(value, unit, digits) { return label(value, unit, digits, false); }
  function drawnWithPrefix(value, unit, digits) { return label(value, unit, digits, true); }
  // A figure, its trailing zeros kept: "971.00 ps".
  function figureWithPrefix(value, unit, digits) {
    var power = prefixPower(value, digits);
    if (power === null) return scientific(value, digits) + ' ' + unit;
    var inUnits = scaled(value, -power);
    var exponent = inUnits === 0 || !isFinite(inUnits) ? 0 : decimalParts(Math.abs(inUnits), digits).exponent;
    return fixed(inUnits, Math.max(0, digits - 1 - exponent)) + ' ' + prefixes[power] + unit;
  }
  // "10", "1k", "1K", "1.5M", "100m", optionally followed by "Hz", as -r reads it, and with a
  // space before the prefix or unit as people write it ("10 kHz", "1.5 MHz"): a positive
  // finite value, or null.
  function parseSi(text) {
    var match = /^(-?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][-+]?[0-9]+)?) ?([fpnumkKMGT]?)(Hz)?$/.exec(text.trim());
    if (!match) return null;
    var value = Number(match[1]);
    var symbol = match[2] === 'K' ? 'k' : match[2];
    if (symbol) {
      for (var power in prefixes) if (prefixes[power] === symbol) value = scaled(value, Number(power));
    }
    return value > 0 && isFinite(value) ? value : null;
  }

  // The figures and levels as the summary words them.
  var overflows = 'overflows: the levels are beyond what a double holds';
  return {
    fixed: fixed, scientific: scientific, significant: significant, shortest: shortest,
    withPrefix: withPrefix, drawnWithPrefix: drawnWithPrefix, figureWithPrefix: figureWithPrefix, parseSi: parseSi,
    offsetText: function (hertz) { return withPrefix(hertz, 'Hz', 5); },
    decibelText: function (decibels) { return fixed(decibels, 2) + ' dB'; },
    phaseNoiseText: function (dbc) { return isFinite(dbc) ? fixed(dbc, 3) + ' dBc' : overflows; },
    rmsPhaseText: function (radians, degrees) {
      return isFinite(radians) ? significant(radians * 1000, 5) + ' mrad, ' + significant(degrees, 5) + ' deg' : overflows;
    },
    jitterText: function (seconds) {
      if (seconds === null) return 'none: the carrier is 0 Hz';
      return isFinite(seconds) ? figureWithPrefix(seconds, 's', 5) : overflows;
    },
    residualFmText: function (hertz) { return isFinite(hertz) ? significant(hertz, 6) + ' Hz' : overflows; },
  };
})();
// The page test holds these to pnpplot's printed text.
window.pnpplotNumbers = pnpplotNumbers;
var numbers = pnpplotNumbers, offsetText = numbers.offsetText, fixed = numbers.fixed;
