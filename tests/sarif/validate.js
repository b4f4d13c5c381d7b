// Validates SARIF files against the published SARIF 2.1.0 schema; exits 1 naming every error.
"use strict";
const fs = require("fs");
const path = require("path");
const Ajv2020 = require("ajv/dist/2020");
const addFormats = require("ajv-formats");

const schemaPath = path.join(__dirname, "node_modules", "@microsoft", "sarif-multitool-linux",
                             "sarif-2.1.0.json");
const schema = JSON.parse(fs.readFileSync(schemaPath, "utf8"));
const ajv = new Ajv2020({ allErrors: true, strict: false });
addFormats(ajv);
const validate = ajv.compile(schema);

let failed = false;
for (const file of process.argv.slice(2)) {
  let log;
  try {
    log = JSON.parse(fs.readFileSync(file, "utf8"));
  } catch (error) {
    console.error(`${file}: not JSON: ${error.message}`);
    failed = true;
    continue;
  }
  if (!validate(log)) {
    for (const error of validate.errors) console.error(`${file}: ${error.instancePath} ${error.message}`);
    failed = true;
  } else if (!Array.isArray(log.runs) || log.runs.length !== 1) {
    console.error(`${file}: expected one run`);
    failed = true;
  }
}
process.exit(failed ? 1 : 0);
