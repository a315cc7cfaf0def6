#pragma once

class Engine;

// Sample master data for a new test database, so that a first start has something to try: the owner, two
// tills with their opening balances, receipt, payment and advance movement types, clients, postcodes and
// organisational units. Does nothing when the database already has a till. Throws EngineError.
void FillSampleData(Engine &engine);
