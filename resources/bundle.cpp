// The bundle library holds only resources (under ":/bundle/"); a static
// library needs a source of its own, and this one defines nothing.
