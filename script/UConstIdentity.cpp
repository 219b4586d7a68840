// Placeholder so the library links; the manifest replaces it.
