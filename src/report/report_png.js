// The report's script: Save as PNG draws the chart as it stands, zoom, markers and their
// table and all, on a canvas at its size or twice it and hands it to the browser as a
// download. Nothing leaves the page.

function savePng(scale) {
  var width = Number(svg.getAttribute('width')), height = Number(svg.getAttribute('height'));
  var copy = svg.cloneNode(true);
  ['#cursor', '#zoom-frame'].forEach(function (selector) {
    var node = copy.querySelector(selector);
    if (node) node.parentNode.removeChild(node);
  });
  Array.prototype.forEach.call(copy.querySelectorAll('.legend-entry.hidden'), function (entry) {
    entry.setAttribute('opacity', '0.35');
  });
  copy.setAttribute('width', width * scale);
  copy.setAttribute('height', height * scale);
  var text = new XMLSerializer().serializeToString(copy);
  var image = new Image();
  image.onload = function () {
    var canvas = document.createElement('canvas');
    canvas.width = width * scale;
    canvas.height = height * scale;
    canvas.getContext('2d').drawImage(image, 0, 0, canvas.width, canvas.height);
    canvas.toBlob(function (png) {
      if (!png) return say('The browser could not make the PNG.');
      var name = (document.title || 'chart').replace(/[^A-Za-z0-9._-]+/g, '_').slice(0, 80) +
                 (scale > 1 ? '@' + scale + 'x' : '') + '.png';
      var link = element('a', { id: 'png-link', download: name });
      link.href = URL.createObjectURL(png);
      link.textContent = name;
      status.textContent = 'Saved ';
      status.appendChild(link);
      status.appendChild(document.createTextNode(', ' + canvas.width + ' \u00d7 ' + canvas.height + ' pixels.'));
      link.click();
    }, 'image/png');
  };
  image.onerror = function () { say('The browser could not draw the chart into an image.'); };
  image.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(text);
}
document.getElementById('save-png').addEventListener('click', function () { savePng(1); });
document.getElementById('save-png-2x').addEventListener('click', function () { savePng(2); });

