// The report's script, last: the page as it opens, the band of the command line and marker 1
// following the pointer.

showBand();
showMarkers();
document.body.setAttribute('data-ready', 'true');
