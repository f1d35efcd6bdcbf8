// The rules for Vorbix's JavaScript: the page's modules, the tests' entry and the benchmark's
// baseline page, all ES modules in a browser; and the tests' driver of Firefox, in node.
import js from "@eslint/js";
import globals from "globals";

export default [
  { ignores: ["build/", "node_modules/"] },
  js.configs.recommended,
  {
    files: ["**/*.js", "**/*.mjs"],
    languageOptions: { ecmaVersion: "latest", sourceType: "module", globals: globals.browser },
    rules: {
      eqeqeq: "error",
      "no-use-before-define": ["error", { functions: false, classes: true, variables: true }],
      "no-var": "error",
      "prefer-const": "error",
      "no-shadow": "error",
      "no-implicit-globals": "error",
      "no-param-reassign": "error",
    },
  },
  { files: ["tests/web/firefox_bridge.mjs"], languageOptions: { globals: globals.node } },
];
