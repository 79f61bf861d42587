window.__bridge = 1;
