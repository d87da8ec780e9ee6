// Placeholder so an area with no sources yet still forms a library.
